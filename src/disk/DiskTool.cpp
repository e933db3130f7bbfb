#include "disk/DiskTool.h"

#include "exec/ChildProcess.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/FolderListing.h"
#include "model/Timing.h"
#include "propertylist/PropertyList.h"

#include <QRegularExpression>

namespace DiskTool {

Run run(const QStringList &arguments)
{
    ChildProcess diskutil(Host::current().diskutil(), arguments);
    if (!diskutil.start())
        return {DiskUtilityError::launchFailed(diskutil.errorString()), 0, {}};
    const auto limit = Timing::current().diskToolLimit;
    if (!diskutil.waitForExit(limit))
        return {DiskUtilityError::timedOut(QStringLiteral("diskutil"), limit), 0, {}};
    return {std::nullopt, diskutil.exitStatus(), diskutil.readRemainingOutput()};
}

Answer ask(const QString &target)
{
    const Run answer = run({QStringLiteral("info"), QStringLiteral("-plist"), target});
    if (answer.failure)
        return {answer.failure, std::nullopt};
    if (answer.exitStatus != 0)
        return {};
    return {std::nullopt, readPropertyListDictionary(answer.output)};
}

std::optional<QVariantMap> info(const QString &target, const QString &failurePrefix)
{
    const Answer answer = ask(target);
    if (answer.failure)
        printDiagnostic(failurePrefix + answer.failure->englishDescription());
    return answer.info;
}

std::optional<QString> string(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<qint64> integer(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    if (value.typeId() != QMetaType::LongLong)
        return std::nullopt;
    return value.toLongLong();
}

bool isTrue(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    return value.typeId() == QMetaType::Bool && value.toBool();
}

bool isFalse(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    return value.typeId() == QMetaType::Bool && !value.toBool();
}

std::optional<QList<QVariantMap>> dictionaries(const QVariant &value)
{
    if (value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    QList<QVariantMap> result;
    for (const QVariant &element : value.toList()) {
        if (element.typeId() != QMetaType::QVariantMap)
            return std::nullopt;
        result.append(element.toMap());
    }
    return result;
}

std::optional<QString> wholeDiskOf(const QString &identifier)
{
    static const QRegularExpression pattern(QStringLiteral("^(disk[0-9]+)(?:s[0-9]+)*$"));
    const QRegularExpressionMatch match = pattern.match(identifier);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

std::optional<QStringList> volumesFolderEntries()
{
    const QString folder = Host::current().volumesFolder();
    const auto names = listFolder(folder);
    if (!names)
        return std::nullopt;
    QStringList paths;
    for (const QString &name : *names)
        paths << folder + u'/' + name;
    return paths;
}

} // namespace DiskTool
