#pragma once

#include <QByteArray>
#include <QVariant>
#include <QVariantMap>

#include <optional>

// Property lists, XML or binary, and the Qt values they hold: strings are QString, booleans
// bool, integers qint64, reals double, data QByteArray, dates QDateTime (to the second),
// arrays QVariantList and dictionaries QVariantMap. The program, the stand-in Mac and the tests
// all read and write them here, the one place that calls libplist.

enum class PropertyListFormat { Xml, Binary };

// Reads a property list of either format. Yields nothing when the bytes are not a property list,
// it would cost more to read than PropertyListBudget allows, or a key or string in it holds a
// NUL character. A value Qt has no type for (a keyed archive's UID) reads as an invalid QVariant.
std::optional<QVariant> readPropertyList(const QByteArray &bytes);

// The same, for a list whose top level is a dictionary; nothing when it is anything else.
std::optional<QVariantMap> readPropertyListDictionary(const QByteArray &bytes);

// Reads the file at `path` the same way; files larger than `maximumBytes` are refused unread.
std::optional<QVariantMap> readPropertyListDictionaryFile(const QString &path, qint64 maximumBytes);

// Writes `value` as a property list, each of the types above as its own element; any integer
// type writes an integer and a float a real. Yields empty bytes, writing nothing, when anything
// in `value` has no element (an invalid QVariant, a QUrl, a date more than 68 years from 2001)
// or a key or string holds a NUL character, which the reader would refuse.
QByteArray writePropertyList(const QVariant &value, PropertyListFormat format);
