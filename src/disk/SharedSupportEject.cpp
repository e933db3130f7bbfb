// Ejecting the "Shared Support" volumes that installer applications leave mounted.

#include "disk/DiskTool.h"
#include "disk/DiskUtility.h"

#include "exec/AppleScriptHelper.h"
#include "exec/AppleScriptString.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/ShellQuote.h"

#include <QFileInfo>
#include <QThreadPool>

namespace {

// The identifier comes from a tool's output: quoted for the shell, then for AppleScript, so no
// text in it can become part of either script.
QString ejectScript(const QString &deviceIdentifier)
{
    return QStringLiteral("do shell script ") +
           appleScriptString(QStringLiteral("diskutil eject ") + shellQuoted(deviceIdentifier));
}

// The device of the disk image diskutil says is mounted at `path`; nothing for anything else, so
// a stale folder, which diskutil answers for the volume holding it, ejects nothing.
std::optional<QString> imageMountedAt(const QString &path, const DiskUtility::StartupDisk &startup)
{
    const auto info = DiskTool::info(path, QStringLiteral("Error getting device identifier: "));
    if (!info)
        return std::nullopt;
    const auto mountPoint = DiskTool::string(*info, QStringLiteral("MountPoint"));
    if (!mountPoint || Host::current().hostPath(*mountPoint) != path)
        return std::nullopt;
    const bool image =
        DiskTool::string(*info, QStringLiteral("BusProtocol")) == QLatin1String("Disk Image") ||
        DiskTool::string(*info, QStringLiteral("VirtualOrPhysical")) == QLatin1String("Virtual");
    const auto identifier = DiskTool::string(*info, QStringLiteral("DeviceIdentifier"));
    const auto whole = identifier ? DiskTool::wholeDiskOf(*identifier) : std::nullopt;
    if (!image || !whole || startup.wholeDisks.contains(*whole))
        return std::nullopt;
    return identifier;
}

int ejectSharedSupport()
{
    QStringList paths = DiskTool::volumesFolderEntries().value_or(QStringList());
    // Only the exact name: "Shared Support 1" may be something the user mounted.
    paths.removeIf([](const QString &path) {
        return QFileInfo(path).fileName() != QLatin1String("Shared Support");
    });
    if (paths.isEmpty())
        return 0;
    const auto startup = DiskUtility::findStartupDisk();
    if (const auto *failure = std::get_if<DiskUtilityError>(&startup)) {
        printDiagnostic(QStringLiteral("Not ejecting Shared Support volumes: ") +
                        failure->englishDescription());
        return 0;
    }
    int ejected = 0;
    for (const QString &path : std::as_const(paths)) {
        const auto identifier = imageMountedAt(path, std::get<DiskUtility::StartupDisk>(startup));
        if (!identifier)
            continue;
        const AppleScriptHelper::Result result =
            AppleScriptHelper::runScript(ejectScript(*identifier));
        if (result.status == 0) {
            ++ejected;
            printDiagnostic(QStringLiteral("Successfully ejected Shared Support volume: ") +
                            *identifier);
        } else {
            printDiagnostic(QStringLiteral("Failed to eject Shared Support volume: ") +
                            result.diagnosticText());
        }
    }
    return ejected;
}

} // namespace

void DiskUtility::ejectSharedSupportVolumes(EjectCompletion completion)
{
    QThreadPool::globalInstance()->start([completion = std::move(completion)] {
        const int ejected = ejectSharedSupport();
        if (completion)
            completion(ejected);
    });
}
