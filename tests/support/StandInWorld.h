#pragma once

#include "host/Host.h"
#include "support/BackgroundWork.h"
#include "support/FolderCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

// The stand-in program under test, which the build names in every test's environment.
inline QString standinProgram()
{
    return QFileInfo(qEnvironmentVariable("TESSALINE_STANDIN")).canonicalFilePath();
}

// A fresh stand-in Mac for one test, in a temporary folder of its own and, unless told otherwise,
// installed as the current host. Tests that need a tool to answer in one precise way put a small
// script of their own in its place.
class StandInWorld {
public:
    static constexpr qint64 testPayloadSize = 20'000'000;
    // The real installers' payload sizes, in sparse files: for pictures of the window, the
    // benchmarks and the stand-in's own tests.
    static constexpr std::nullopt_t asShipped = std::nullopt;

    // Every member has an initializer, so that a designated list may leave any out.
    struct Options {
        // Small by default, because jobs read the payloads back whole to check what they wrote.
        std::optional<qint64> payloadSize = testPayloadSize;
        // Plants an unsigned copy of Sequoia among the real installers.
        bool unsignedInstaller = false;
        // Off where the world's tools are run directly, or where it is only copied from.
        bool becomesHost = true;
        // Where the world lies: by default its temporary folder itself. A name puts it in a
        // folder of that name there, for tests that need the name in every path; a full path
        // puts it in that folder, which is left behind when the world goes.
        QString folder{};
        // A world copied as it is instead of a new one made, which takes a fraction of the time;
        // the payloads and installers are then the model's.
        const StandInWorld *model = nullptr;
        // The stand-in program; benchmarks, run by hand, name the one next to their own.
        QString program = standinProgram();
    };

    // The world as make-world leaves it, for the stand-in's own tests, which run its tools
    // directly.
    static Options asMade() { return {.payloadSize = asShipped, .becomesHost = false}; }

    StandInWorld() : StandInWorld(Options()) {}
    explicit StandInWorld(const Options &options)
        : m_root(options.folder.isEmpty()               ? m_folder.path()
                 : QDir::isAbsolutePath(options.folder) ? options.folder
                                                        : m_folder.filePath(options.folder))
    {
        m_made = m_folder.isValid() &&
                 (options.model ? copyFolder(options.model->root(), m_root) : make(options));
        if (m_made && options.becomesHost)
            Host::setCurrent(Host::standIn(m_root));
    }

    // Background work of the test must not outlive the world it works on.
    ~StandInWorld() { waitForBackgroundWork(); }

    bool isValid() const { return m_made; }
    QString root() const { return m_root; }
    // The root with every link resolved, as the world's tools find it from where they lie;
    // nothing when the world could not be made.
    QString canonicalRoot() const
    {
        return m_made ? QFileInfo(m_root).canonicalFilePath() : QString();
    }
    QString path(const QString &relative) const
    {
        return relative.isEmpty() ? m_root : m_root + u'/' + relative;
    }

    // Runs the tool at `relative` (such as "usr/sbin/diskutil") to set a test up, its output
    // shown with the test's; its exit status, as QProcess::execute() gives it.
    int run(const QString &relative, const QStringList &arguments) const
    {
        return QProcess::execute(path(relative), arguments);
    }

    // Puts a bash script with `body` where the tool at `relative` (such as "usr/bin/osascript")
    // was.
    void replaceTool(const QString &relative, const QByteArray &body) const
    {
        const QString tool = path(relative);
        QFile::remove(tool);
        QDir().mkpath(QFileInfo(tool).path());
        QFile file(tool);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/bash\n" + body + '\n');
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner);
    }

    void removeTool(const QString &relative) const { QFile::remove(path(relative)); }
    // Puts a tool that hangs where the tool at `relative` was: it notes its process id, prints
    // `said`, and sleeps for a minute. The file it notes its id in exists once it runs.
    QString replaceWithHangingTool(const QString &relative, const QByteArray &said = {}) const
    {
        const QString pidFile = path(QStringLiteral("tool.pid"));
        replaceTool(relative, "echo $$ > '" + pidFile.toUtf8() + "'\n" +
                                  (said.isEmpty() ? QByteArray() : "echo '" + said + "'\n") +
                                  "sleep 60\n");
        return pidFile;
    }
    // Changes the keys `changes` names in var/standin/FILE, made when the world has none yet.
    void writeState(const QString &file, const QJsonObject &changes) const
    {
        QFile state(path(QStringLiteral("var/standin/") + file));
        QJsonObject object;
        if (state.open(QIODevice::ReadOnly))
            object = QJsonDocument::fromJson(state.readAll()).object();
        state.close();
        for (auto it = changes.begin(); it != changes.end(); ++it)
            object.insert(it.key(), it.value());
        QVERIFY(state.open(QIODevice::WriteOnly | QIODevice::Truncate));
        state.write(QJsonDocument(object).toJson());
    }

private:
    // What make-world says when it fails is shown with the test's output.
    bool make(const Options &options) const
    {
        QStringList arguments{QStringLiteral("make-world")};
        if (options.unsignedInstaller)
            arguments << QStringLiteral("--unsigned-installer");
        if (options.payloadSize)
            arguments << QStringLiteral("--payload-size") << QString::number(*options.payloadSize);
        QProcess maker;
        maker.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        maker.start(options.program, arguments << m_root);
        return maker.waitForFinished() && maker.exitStatus() == QProcess::NormalExit &&
               maker.exitCode() == 0;
    }

    QTemporaryDir m_folder;
    QString m_root;
    bool m_made = false;
};
