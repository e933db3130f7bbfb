#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The names of the entries directly inside `folder`, hidden ones included, in the order the file
// system gives them. Nothing when the folder cannot be listed; `error` then says why.
std::optional<QStringList> listFolder(const QString &folder, QString *error = nullptr);
