// Removable volume discovery: diskutil's disk layout first, the volumes folder when that finds
// nothing.

#include "disk/DiskTool.h"
#include "disk/DiskUtility.h"
#include "host/Host.h"
#include "model/PropertyList.h"

#include <QFileInfo>
#include <QThreadPool>

namespace {

using ProgressCallback = DiskUtility::ProgressCallback;

// A listed volume name must be one entry of the volumes folder; anything else would put the
// mount point somewhere else entirely.
bool isSingleEntryName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(u'/') && !name.contains(QChar(0));
}

// Adds the mounted volumes of one removable whole disk, in partition order.
void collectVolumes(const DiskUtility::ListedDisk &disk, double percentage,
                    const ProgressCallback &progress, QList<DiskInfo> &disks)
{
    const QString volumesFolder = Host::current().volumesFolder();
    for (const DiskUtility::ListedVolume &volume : disk.volumes) {
        // Where macOS mounts a volume of that name; the listing's own mount point is not trusted.
        const QString mountPoint = volumesFolder + u'/' + volume.volumeName;
        if (!QFileInfo::exists(mountPoint))
            continue;
        progress(QStringLiteral("Processing volume: ") + volume.volumeName, percentage);
        const DiskUtility::VolumeSpace space = DiskUtility::getVolumeInfo(mountPoint);
        disks.append(DiskInfo(volume.deviceIdentifier, volume.volumeName, mountPoint, space.size,
                              space.freeSpace, true));
    }
}

// Reads `diskutil list -plist`. Fails only when diskutil cannot be started; a listing that is
// unusable or names no mounted removable volume gives an empty list.
DiskUtility::DiskListResult scanDiskList(const ProgressCallback &progress)
{
    progress(QStringLiteral("Running diskutil command"), 10);
    const DiskTool::Run listing = DiskTool::run({QStringLiteral("list"), QStringLiteral("-plist")});
    if (listing.launchError)
        return DiskUtilityError::launchFailed(*listing.launchError);
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
        const QString &identifier = *disk.deviceIdentifier;
        progress(QStringLiteral("Examining disk: ") + identifier, percentage);
        if (!DiskUtility::isRemovableDisk(identifier))
            continue;
        progress(QStringLiteral("Found removable disk: ") + identifier, percentage);
        collectVolumes(disk, percentage, progress, disks);
    }
    return disks;
}

// Walks the volumes folder, for when the disk layout gave nothing.
QList<DiskInfo> scanVolumesFolder(const ProgressCallback &progress)
{
    progress(QStringLiteral("Primary method failed, trying fallback method"), 65);
    const auto entries = DiskTool::volumesFolderEntries();
    if (!entries)
        return {};
    const QString hostName =
        Host::current().computerName().value_or(QStringLiteral("Macintosh HD"));

    const qsizetype count = entries->size();
    progress(QStringLiteral("Found %1 volumes to examine").arg(count), 70);
    QList<DiskInfo> disks;
    for (qsizetype index = 0; index < count; ++index) {
        const QString &path = entries->at(index);
        const double percentage = 70.0 + 25.0 * double(index + 1) / double(count);
        const QString name = QFileInfo(path).fileName();
        progress(QStringLiteral("Checking volume: ") + name, percentage);
        // The startup disk and the system's own volumes are never targets.
        if (name == hostName || name == QLatin1String("Macintosh HD") ||
            name.contains(QLatin1String("System")))
            continue;
        const auto identifier = DiskUtility::getDeviceIdentifier(path);
        if (!identifier)
            continue;
        progress(QStringLiteral("Examining device: ") + *identifier, percentage);
        if (!DiskUtility::isRemovableVolume(path))
            continue;
        progress(QStringLiteral("Found removable volume: ") + name, percentage);
        const DiskUtility::VolumeSpace space = DiskUtility::getVolumeInfo(path);
        disks.append(DiskInfo(*identifier, name, path, space.size, space.freeSpace, true));
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
            if (volumeName && identifier && isSingleEntryName(*volumeName))
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
    const DiskListResult listed = scanDiskList(report);
    if (std::holds_alternative<DiskUtilityError>(listed))
        return listed;
    QList<DiskInfo> disks = std::get<QList<DiskInfo>>(listed);
    if (disks.isEmpty())
        disks = scanVolumesFolder(report);
    report(QStringLiteral("Disk scan complete, found %1 removable disks").arg(disks.size()), 100);
    return disks;
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
