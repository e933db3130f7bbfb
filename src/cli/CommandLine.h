#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <variant>

// What tessaline-cli was asked to do, as its arguments say it.
struct CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum class Command {
        listInstallers,
        listDisks,
        createUsb,
        createIso,
        installPackage,
        eject,
        availableInstallers,
        downloadInstaller,
        verify
    };

    Command command = Command::listInstallers;
    // An installer's name as listed, or its bundle path.
    QString installer;
    // A volume's name, mount point or device identifier.
    QString volume;
    // create-iso's folder or file name; empty for the desktop.
    QString output;
    // download-installer's macOS version, as available-installers lists it.
    QString version;
    // install-package's package file.
    QString package;
    // verify's ISO file.
    QString image;
    bool json = false;
    bool yes = false;
    bool passwordFromStandardInput = false;
    // Whether what create-usb and create-iso write is read back and compared with the installer.
    bool verify = true;

    // The arguments after the program's name, or why they cannot be run.
    static std::variant<CommandLine, QString> parse(const QStringList &arguments);
    static QString usage();
};
