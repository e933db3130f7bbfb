#pragma once

#include <QString>
#include <QStringList>

// How a stand-in tool hands its place to the command it runs, as sudo and env do.
namespace Exec {

// Where `command` lives: as given when it names a path, else the first match along `searchPath`
// (folders split by ':'). Empty when there is none.
QString resolve(const QString &command, const QString &searchPath);

// Replaces this process with `program`, called `command`, in `environment` ("NAME=VALUE" each;
// this process's own when null). Returns only when it could not, after telling why on standard
// error after `prefix` ("sudo: unable to execute"), with the error number.
int replaceWith(const char *prefix, const QString &program, const QStringList &command,
                const QStringList *environment = nullptr);

} // namespace Exec
