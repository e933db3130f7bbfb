#pragma once

#include <QDirIterator>
#include <QFile>
#include <QStringList>

// The files below `folders` whose bytes hold `needle` anywhere, such as a password that must
// never reach the disk. Links are not followed and unreadable files are passed over, as are
// files of more than 4 MiB: the stand-in's sparse installer payloads and whatever builds lie in the
// temporary folder, which nothing writes a password into. Reading gigabytes of those made the
// search take minutes under the thread sanitizer. Named pipes and sockets hold nothing on disk
// and are passed over too: opening a pipe nobody writes to, such as one a killed run left in the
// temporary folder, would wait for ever.
inline QStringList filesHolding(const QByteArray &needle, const QStringList &folders)
{
    constexpr qint64 largest = qint64(4) << 20;
    QStringList found;
    for (const QString &folder : folders) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!it.fileInfo().isFile())
                continue;
            if (file.size() <= largest && file.open(QIODevice::ReadOnly) &&
                file.readAll().contains(needle))
                found << file.fileName();
        }
    }
    return found;
}
