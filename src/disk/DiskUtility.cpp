// Volume discovery: diskutil's disk layout first, the volumes folder when that finds nothing.
// Either way each volume's mount point and kind come from diskutil's answer about its device.

#include "disk/DiskUtility.h"
#include "disk/DiskTool.h"
#include "host/Host.h"
#include "propertylist/PropertyList.h"

#include <QFileInfo>
#include <QThreadPool>

namespace {

using ProgressCallback = DiskUtility::ProgressCallback;
using DiskListResult = DiskUtility::DiskListResult;

// The record of `target` when diskutil says it may be erased; `wantedMountPoint`, when given,
// must be where diskutil says the volume is mounted. A failure to ask ends the scan.
std::variant<std::optional<DiskInfo>, DiskUtilityError>
examine(const QString &target, const DiskUtility::StartupDisk &startup,
        const std::optional<QString> &wantedMountPoint = std::nullopt)
{
    const DiskTool::Answer answer = DiskTool::ask(target);
    if (answer.failure)
        return *answer.failure;
    if (!answer.info || DiskUtility::whyNotTarget(*answer.info, startup))
        return std::nullopt;
    DiskInfo disk = DiskUtility::targetRecord(*answer.info);
    if (wantedMountPoint && disk.mountPoint != *wantedMountPoint)
        return std::nullopt;
    return disk;
}

// Reads `diskutil list -plist`. A listing that is unusable or names no volume that may be
// erased gives an empty list.
DiskListResult scanDiskList(const DiskUtility::StartupDisk &startup,
                            const ProgressCallback &progress)
{
    progress(QStringLiteral("Running diskutil command"), 10);
    const DiskTool::Run listing = DiskTool::run({QStringLiteral("list"), QStringLiteral("-plist")});
    if (listing.failure)
        return *listing.failure;
    progress(QStringLiteral("Processing disk information"), 20);
    if (listing.exitStatus != 0)
        return QList<DiskInfo>();
    progress(QStringLiteral("Parsing property list data"), 30);
    const auto wholeDisks = DiskUtility::readDiskList(listing.output);
    if (!wholeDisks)
        return QList<DiskInfo>();

    const qsizetype count = wholeDisks->size();
    progress(QStringLiteral("Found %1 disks to examine").arg(count), 40);
    QList<DiskInfo> disks;
    for (qsizetype index = 0; index < count; ++index) {
        const DiskUtility::ListedDisk &disk = wholeDisks->at(index);
        const double percentage = 40.0 + 25.0 * double(index + 1) / double(count);
        if (!disk.deviceIdentifier)
            continue;
        progress(QStringLiteral("Examining disk: ") + *disk.deviceIdentifier, percentage);
        for (const DiskUtility::ListedVolume &volume : disk.volumes) {
            const auto examined = examine(volume.deviceIdentifier, startup);
            if (const auto *failure = std::get_if<DiskUtilityError>(&examined))
                return *failure;
            if (const auto &found = std::get<std::optional<DiskInfo>>(examined)) {
                progress(QStringLiteral("Processing volume: ") + found->volumeName, percentage);
                disks.append(*found);
            }
        }
    }
    return disks;
}

// Walks the volumes folder, for when the disk layout gave nothing. An entry counts only where
// diskutil says a volume is mounted at exactly that path: a stale folder, or a link to the
// startup volume, is answered for the volume holding it.
DiskListResult scanVolumesFolder(const DiskUtility::StartupDisk &startup,
                                 const ProgressCallback &progress)
{
    progress(QStringLiteral("Primary method failed, trying fallback method"), 65);
    const auto entries = DiskTool::volumesFolderEntries();
    if (!entries)
        return QList<DiskInfo>();

    const qsizetype count = entries->size();
    progress(QStringLiteral("Found %1 volumes to examine").arg(count), 70);
    QList<DiskInfo> disks;
    for (qsizetype index = 0; index < count; ++index) {
        const QString &path = entries->at(index);
        const double percentage = 70.0 + 25.0 * double(index + 1) / double(count);
        progress(QStringLiteral("Checking volume: ") + QFileInfo(path).fileName(), percentage);
        const auto examined = examine(path, startup, path);
        if (const auto *failure = std::get_if<DiskUtilityError>(&examined))
            return *failure;
        if (const auto &found = std::get<std::optional<DiskInfo>>(examined)) {
            progress(QStringLiteral("Found removable volume: ") + found->volumeName, percentage);
            disks.append(*found);
        }
    }
    return disks;
}

} // namespace

std::optional<QList<DiskUtility::ListedDisk>> DiskUtility::readDiskList(const QByteArray &listing)
{
    const auto layout = readPropertyListDictionary(listing);
    if (!layout)
        return std::nullopt;
    const auto wholeDisks =
        DiskTool::dictionaries(layout->value(QStringLiteral("AllDisksAndPartitions")));
    if (!wholeDisks)
        return std::nullopt;
    QList<ListedDisk> disks;
    for (const QVariantMap &disk : *wholeDisks) {
        ListedDisk listed;
        listed.deviceIdentifier = DiskTool::string(disk, QStringLiteral("DeviceIdentifier"));
        const auto partitions = DiskTool::dictionaries(disk.value(QStringLiteral("Partitions")));
        for (const QVariantMap &partition : partitions.value_or(QList<QVariantMap>())) {
            const auto volumeName = DiskTool::string(partition, QStringLiteral("VolumeName"));
            const auto identifier = DiskTool::string(partition, QStringLiteral("DeviceIdentifier"));
            if (volumeName && identifier && DiskTool::wholeDiskOf(*identifier))
                listed.volumes.append({*identifier, *volumeName});
        }
        disks.append(listed);
    }
    return disks;
}

DiskUtility::DiskListResult DiskUtility::fetchRemovableDisks(const ProgressCallback &progress)
{
    const ProgressCallback report = progress ? progress : [](const QString &, double) {};
    report(QStringLiteral("Starting disk scan"), 5);
    const auto startup = findStartupDisk();
    if (const auto *failure = std::get_if<DiskUtilityError>(&startup))
        return *failure;
    const StartupDisk &startupDisk = std::get<StartupDisk>(startup);
    DiskListResult listed = scanDiskList(startupDisk, report);
    if (const auto *disks = std::get_if<QList<DiskInfo>>(&listed); disks && disks->isEmpty())
        listed = scanVolumesFolder(startupDisk, report);
    if (const auto *disks = std::get_if<QList<DiskInfo>>(&listed))
        report(QStringLiteral("Disk scan complete, found %1 removable disks").arg(disks->size()),
               100);
    return listed;
}

void DiskUtility::getRemovableDisks(DiskListCompletion completion)
{
    getRemovableDisks({}, std::move(completion));
}

void DiskUtility::getRemovableDisks(ProgressCallback progress, DiskListCompletion completion)
{
    QThreadPool::globalInstance()->start(
        [progress = std::move(progress), completion = std::move(completion)] {
            const DiskListResult result = fetchRemovableDisks(progress);
            if (completion)
                completion(result);
        });
}
