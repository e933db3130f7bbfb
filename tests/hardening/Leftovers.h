#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>

#include <dirent.h>

// What a test process can leave behind: processes it started that are still there, and open file
// descriptors.
//
// Every process started from the test carries a mark in its environment (a tool that puts
// itself in a group or session of its own, or outlives its parent, still has it), so a scan of
// /proc finds all of them wherever they were reparented to.
namespace Leftovers {

inline QByteArray markVariable()
{
    return QByteArrayLiteral("TESSALINE_TEST_PROCESS_TREE");
}

// Call before anything is started: the environment of child processes is read when a stand-in
// world is made.
inline void markProcessTree()
{
    qputenv(markVariable().constData(), QByteArray::number(QCoreApplication::applicationPid()));
}

inline QByteArray readProcFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The processes started from this one that still exist, zombies included.
inline QList<qint64> processes()
{
    const qint64 self = QCoreApplication::applicationPid();
    const QByteArray mark = markVariable() + '=' + QByteArray::number(self);
    QList<qint64> found;
    // A child that has ended but is not reaped yet has no environment left to read.
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QByteArray children =
            readProcFile(tasks.filePath(task + QStringLiteral("/children")));
        for (const QByteArray &child : children.simplified().split(' '))
            if (!child.isEmpty() && !found.contains(child.toLongLong()))
                found << child.toLongLong();
    }
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isProcess = false;
        const qint64 pid = entry.toLongLong(&isProcess);
        if (!isProcess || pid == self || found.contains(pid))
            continue;
        const QByteArray environment =
            readProcFile(proc.filePath(entry + QStringLiteral("/environ")));
        if (environment.split('\0').contains(mark))
            found << pid;
    }
    return found;
}

// "pid: command line" for each process, for failure messages.
inline QString describe(const QList<qint64> &pids)
{
    QStringList described;
    for (qint64 pid : pids) {
        const QByteArray command =
            readProcFile(QStringLiteral("/proc/%1/cmdline").arg(pid)).replace('\0', ' ');
        described << QStringLiteral("%1: %2").arg(pid).arg(QString::fromLocal8Bit(command));
    }
    return described.join(u'\n');
}

// How many file descriptors this process has open.
inline int openDescriptors()
{
    DIR *folder = ::opendir("/proc/self/fd");
    if (!folder)
        return -1;
    int count = 0;
    while (const dirent *entry = ::readdir(folder))
        if (entry->d_name[0] != '.')
            ++count;
    ::closedir(folder);
    // The listing's own descriptor is not one of the process's.
    return count - 1;
}

} // namespace Leftovers
