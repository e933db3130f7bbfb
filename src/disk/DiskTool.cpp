#include "disk/DiskTool.h"

#include "exec/ChildProcess.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/FolderListing.h"
#include "model/PropertyList.h"

namespace DiskTool {

Run run(const QStringList &arguments)
{
    ChildProcess diskutil(Host::current().diskutil(), arguments);
    if (!diskutil.start())
        return {diskutil.errorString(), 0, {}};
    diskutil.waitForExit();
    return {std::nullopt, diskutil.exitStatus(), diskutil.readRemainingOutput()};
}

std::optional<QVariantMap> info(const QString &target, const QString &launchFailurePrefix)
{
    const Run answer = run({QStringLiteral("info"), QStringLiteral("-plist"), target});
    if (answer.launchError) {
        printDiagnostic(launchFailurePrefix + *answer.launchError);
        return std::nullopt;
    }
    if (answer.exitStatus != 0)
        return std::nullopt;
    return readPropertyListDictionary(answer.output);
}

std::optional<QString> string(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

bool isTrue(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    return value.typeId() == QMetaType::Bool && value.toBool();
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
