#pragma once

#include "exec/AppleScriptHelper.h"
#include "exec/JobThreads.h"
#include "exec/MainThread.h"
#include "media/USBCreator.h"
#include "support/TestSecret.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <QThreadPool>
#include <QtTest>

// What the hardening tests leave behind, and the runner operations two of them drive. Every
// process a test starts carries a mark in its environment, so a scan of /proc finds it even in a
// group or session of its own, or reparented after its parent ended.
namespace Leftovers {

// Call before anything is started: children inherit the environment a stand-in world is made in.
inline void markProcessTree()
{
    qputenv("TESSALINE_TEST_PROCESS_TREE", QByteArray::number(QCoreApplication::applicationPid()));
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The processes started from this one that still exist, as "pid: command line", zombies included.
inline QStringList processes()
{
    const qint64 self = QCoreApplication::applicationPid();
    const QByteArray mark = "TESSALINE_TEST_PROCESS_TREE=" + QByteArray::number(self);
    QList<qint64> found;
    // A child that has ended but is not reaped yet has no environment left to read.
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QByteArray &child :
             readFile(tasks.filePath(task + "/children")).simplified().split(' '))
            if (!child.isEmpty() && !found.contains(child.toLongLong()))
                found << child.toLongLong();
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isProcess = false;
        const qint64 pid = entry.toLongLong(&isProcess);
        if (isProcess && pid != self && !found.contains(pid) &&
            readFile(proc.filePath(entry + "/environ")).split('\0').contains(mark))
            found << pid;
    }
    QStringList described;
    for (qint64 pid : found)
        described << QString::number(pid) + ": " +
                         QString::fromUtf8(readFile(QStringLiteral("/proc/%1/cmdline").arg(pid)))
                             .replace(u'\0', u' ');
    return described;
}

// How many file descriptors this process has open; the listing's own is in every count.
inline qsizetype openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

inline QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Waits out background work, such as the eject of stray volumes every new state starts with.
inline void settle()
{
    QTRY_COMPARE_WITH_TIMEOUT(QThreadPool::globalInstance()->activeThreadCount(), 0, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(JobThreads::running(), 0, 20000);
    // A finished job's thread object, and the descriptors it holds, go with the deferred deletes.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs `task` on the main thread: at once when already there.
inline void onMainThread(const std::function<void()> &task)
{
    if (QThread::currentThread() == qApp->thread())
        task();
    else
        runOnMainThread(task);
}

// Starts a runner operation as the application does, the blocking ones on a pool thread. `text`
// gets what it streams and `ended` each status and message it ends with, on the main thread.
inline void startRunner(const QString &operation, const QString &command,
                        const std::function<void(const QString &)> &text,
                        const std::function<void(int, const QString &)> &ended)
{
    using Helper = AppleScriptHelper;
    const auto textHere = [text](const QString &chunk) { onMainThread([=] { text(chunk); }); };
    const auto endHere = [ended](int status, const QString &message) {
        onMainThread([=] { ended(status, message); });
    };
    const QHash<QString, std::function<Helper::Result()>> blocking{
        {"runScript", [] { return Helper::runScript("do shell script \"true\""); }},
        {"runCommand", [command] { return Helper::runCommand(command); }},
        {"admin via process", [] { return Helper::runWithAdminPrivileges("true"); }},
    };
    if (const auto work = blocking.value(operation)) {
        QThreadPool::globalInstance()->start([work, endHere] {
            const Helper::Result result = work();
            endHere(result.status, result.output);
        });
    } else if (operation == u"streamed admin") {
        Helper::runShellCommandWithAdminPrivilegesAsync(
            "true", textHere, textHere,
            [endHere](int status, const std::optional<QString> &output,
                      const std::optional<QString> &error) {
                endHere(status, error.value_or(output.value_or(QString())));
            });
    } else {
        USBCreator::executeTerminalCommand(
            {"/bin/bash", "-c", command}, secretOf("tessaline"), textHere, textHere,
            [endHere](qint32 status) { endHere(status, QString()); });
    }
}

} // namespace Leftovers
