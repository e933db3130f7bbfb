#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// What the disk services share: running diskutil, reading its property lists with strict types
// (a value of the wrong type counts as absent), and listing the volumes folder.
namespace DiskTool {

struct Run {
    // Set when diskutil could not be started; the rest is then meaningless.
    std::optional<QString> launchError;
    int exitStatus = 0;
    QByteArray output;
};

// Runs diskutil with `arguments` to its end and collects its whole standard output.
Run run(const QStringList &arguments);

// `diskutil info -plist target` as a dictionary; nothing when diskutil fails or says something
// else. A launch failure is printed after `launchFailurePrefix`.
std::optional<QVariantMap> info(const QString &target, const QString &launchFailurePrefix);

std::optional<QString> string(const QVariantMap &dictionary, const QString &key);
// True only for a boolean that is true.
bool isTrue(const QVariantMap &dictionary, const QString &key);
// The value as a list of dictionaries; nothing when it is anything else, or any element is.
std::optional<QList<QVariantMap>> dictionaries(const QVariant &value);

// The paths of the entries of the volumes folder, hidden ones included, in the order the file
// system gives them; nothing when the folder cannot be listed.
std::optional<QStringList> volumesFolderEntries();

} // namespace DiskTool
