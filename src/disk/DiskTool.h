#pragma once

#include "disk/DiskUtilityError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// What the disk services share: running diskutil under its time limit, reading its property
// lists with strict types (a value of the wrong type counts as absent), and listing the volumes
// folder.
namespace DiskTool {

struct Run {
    // Set when diskutil could not be started or did not answer in time; the rest is then
    // meaningless.
    std::optional<DiskUtilityError> failure;
    int exitStatus = 0;
    QByteArray output;
};

// Runs diskutil with `arguments` to its end and collects its whole standard output. A run past
// the disk tool limit is ended with everything it started.
Run run(const QStringList &arguments);

// What `diskutil info -plist target` said.
struct Answer {
    std::optional<DiskUtilityError> failure;
    // Nothing when diskutil refused or said something other than a dictionary.
    std::optional<QVariantMap> info;
};
Answer ask(const QString &target);

// `diskutil info -plist target` as a dictionary; nothing when diskutil fails or says something
// else. A failure to run it is printed after `failurePrefix`.
std::optional<QVariantMap> info(const QString &target, const QString &failurePrefix);

std::optional<QString> string(const QVariantMap &dictionary, const QString &key);
std::optional<qint64> integer(const QVariantMap &dictionary, const QString &key);
// True only for a boolean that is true; isFalse() only for one that is false.
bool isTrue(const QVariantMap &dictionary, const QString &key);
bool isFalse(const QVariantMap &dictionary, const QString &key);
// The value as a list of dictionaries; nothing when it is anything else, or any element is.
std::optional<QList<QVariantMap>> dictionaries(const QVariant &value);

// The whole disk an identifier such as "disk4s2" or "disk3s1s1" lies on; nothing for a text that
// names no disk.
std::optional<QString> wholeDiskOf(const QString &identifier);

// The paths of the entries of the volumes folder, hidden ones included, in the order the file
// system gives them; nothing when the folder cannot be listed.
std::optional<QStringList> volumesFolderEntries();

} // namespace DiskTool
