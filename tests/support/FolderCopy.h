#pragma once

#include <QProcess>
#include <QString>

// Makes `to` a copy of the folder `from` as it is: links copied as written, modes kept and sparse
// files (the installers' payloads) left sparse, all of which cp -a knows how to do. When `to`
// exists already, what is in `from` goes into it.
inline bool copyFolder(const QString &from, const QString &to)
{
    return QProcess::execute(QStringLiteral("cp"),
                             {QStringLiteral("-a"), from + QStringLiteral("/."), to}) == 0;
}
