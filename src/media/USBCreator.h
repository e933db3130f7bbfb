#pragma once

#include "disk/DiskInfo.h"
#include "model/InstallerApp.h"
#include "model/ProgressInfo.h"
#include "model/Secret.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

// Makes bootable installer media from a macOS installer. Every operation returns at once, does
// its work on a background thread and reports through handlers that run on the main thread, in
// the order things happened.
class USBCreator {
    Q_DECLARE_TR_FUNCTIONS(USBCreator)

public:
    using TextHandler = std::function<void(const QString &text)>;
    using ProgressHandler = std::function<void(const ProgressInfo &progress)>;

    // Erases `to` and writes `from` onto it as a bootable installer, with administrator rights
    // asked for through the system's prompt. Every change of the run's progress is handed to
    // `completion` as a copy, the last one complete. The run succeeds only once `to`'s disk is
    // found to hold the installer volume, whose mount point the last record's outputPath gives.
    // Reports come from the calling thread, then from a background thread until the tool
    // starts, then from the main thread.
    static void createBootableUSB(const InstallerApp &from, const DiskInfo &to,
                                  ProgressHandler completion);

    // Runs `command` (a tool by its absolute path, then its arguments) with administrator rights:
    // /usr/bin/sudo -S runs it in a clean environment, no shell between, and reads `password`
    // from a pipe. The password's buffer is zeroed once the pipe holds it; a wrong one ends the
    // run with sudo's "incorrect password attempt" and status 1. Output and error chunks are
    // forwarded as they arrive; the completion gets the command's exit status (the signal number
    // when it was killed), or -1 when it could not be started. A command still running after the
    // terminal command time limit is terminated: the error handler is told and the completion
    // gets -15 at once, and the command's own status follows once it has exited.
    static void executeTerminalCommand(const QStringList &command, Secret password,
                                       TextHandler outputHandler, TextHandler errorHandler,
                                       std::function<void(qint32 status)> completionHandler);
    // How the terminal path shows `command` to the user: as it would be typed after "sudo".
    static QString terminalCommandText(const QStringList &command);
};
