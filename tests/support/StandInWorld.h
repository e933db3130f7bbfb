#pragma once

#include "host/Host.h"
#include "support/BackgroundWork.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// A fresh stand-in Mac for one test, installed as the current host. Tests that need a tool to
// answer in one precise way put a small script of their own in its place.
class StandInWorld {
public:
    static constexpr qint64 testPayloadSize = 20'000'000;

    // How big the installers' payloads are: small, because jobs read them back whole to check
    // what they wrote, or as the real installers' (sparse files), for pictures of the window.
    enum class Payloads { small, asShipped };

    // `options` go to make-world before the folder (such as "--unsigned-installer"); they may
    // give the payloads' size themselves.
    explicit StandInWorld(QStringList options = {}, Payloads payloads = Payloads::small)
    {
        if (payloads == Payloads::small && !options.contains(QStringLiteral("--payload-size")))
            options << QStringLiteral("--payload-size") << QString::number(testPayloadSize);
        QProcess maker;
        maker.start(qEnvironmentVariable("TESSALINE_STANDIN"),
                    QStringList{QStringLiteral("make-world")} + options +
                        QStringList{m_folder.path()});
        m_made = maker.waitForFinished() && maker.exitCode() == 0;
        if (m_made)
            Host::setCurrent(Host::standIn(m_folder.path()));
    }

    // Background work of the test must not outlive the world it works on.
    ~StandInWorld() { waitForBackgroundWork(); }

    bool isValid() const { return m_made; }
    QString root() const { return m_folder.path(); }
    QString path(const QString &relative) const { return m_folder.filePath(relative); }

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
    QTemporaryDir m_folder;
    bool m_made = false;
};
