#pragma once

#include <QByteArray>
#include <QVariantMap>

#include <optional>

// Reads a property list, XML or binary, into Qt values: strings become QString, booleans bool,
// integers qint64, reals double, data QByteArray, dates QDateTime, arrays QVariantList and
// dictionaries QVariantMap. Yields nothing when the bytes are not a property list, its top level
// is not a dictionary, or a key or string in it holds a NUL character.
std::optional<QVariantMap> readPropertyListDictionary(const QByteArray &bytes);

// Reads the file at `path` the same way; files larger than `maximumBytes` are refused unread.
std::optional<QVariantMap> readPropertyListDictionaryFile(const QString &path, qint64 maximumBytes);
