// The last word before erasing: diskutil is asked again, by device and by mount point, whether
// the volume chosen from an earlier listing is still that device and may still be erased.

#include "disk/DiskTool.h"
#include "disk/DiskUtility.h"

#include "host/Host.h"

namespace {

QString mountPointOf(const QVariantMap &info)
{
    return Host::current().hostPath(
        DiskTool::string(info, QStringLiteral("MountPoint")).value_or(QString()));
}

} // namespace

// Every refusal ends in "Nothing was erased.": the user must know the disk is as it was.
std::optional<QString> DiskUtility::confirmTarget(const DiskInfo &disk)
{
    const QString &device = disk.deviceIdentifier;
    const auto couldNotCheck = [&](const DiskUtilityError &failure) {
        //: %1 is a device such as disk4s2, %2 why diskutil could not be asked
        return tr("Could not check %1 again before erasing: %2. Nothing was erased.")
            .arg(device, failure.description());
    };
    if (device.isEmpty() || disk.mountPoint.isEmpty())
        return tr("The selected volume has no device or mount point. Nothing was erased.");

    const auto startup = findStartupDisk();
    if (const auto *failure = std::get_if<DiskUtilityError>(&startup))
        return couldNotCheck(*failure);

    // The mount point first: a stick swapped since the listing shows there.
    const DiskTool::Answer byMountPoint = DiskTool::ask(disk.mountPoint);
    if (byMountPoint.failure)
        return couldNotCheck(*byMountPoint.failure);
    // A path that is no mount point any more is answered for the volume holding it.
    if (!byMountPoint.info || mountPointOf(*byMountPoint.info) != disk.mountPoint)
        //: %1 is a folder such as /Volumes/USB
        return tr("No volume is mounted at %1 any more. Nothing was erased.").arg(disk.mountPoint);
    const QString holder = DiskTool::string(*byMountPoint.info, QStringLiteral("DeviceIdentifier"))
                               .value_or(QString());
    if (holder != device)
        //: %1 is a folder such as /Volumes/USB, %2 and %3 are devices such as disk4s2
        return tr("The volume at %1 is now %2, not the selected %3. Nothing was erased.")
            .arg(disk.mountPoint, holder, device);

    const DiskTool::Answer byDevice = DiskTool::ask(device);
    if (byDevice.failure)
        return couldNotCheck(*byDevice.failure);
    if (!byDevice.info || mountPointOf(*byDevice.info) != disk.mountPoint)
        //: %1 is a device such as disk4s2, %2 a folder such as /Volumes/USB
        return tr("%1 is no longer the volume at %2. Nothing was erased.")
            .arg(device, disk.mountPoint);
    const QString uuid =
        DiskTool::string(*byDevice.info, QStringLiteral("VolumeUUID")).value_or(QString());
    if (!disk.volumeUuid.isEmpty() && uuid != disk.volumeUuid)
        //: %1 is a device such as disk4s2, %2 a folder such as /Volumes/USB
        return tr("%1 at %2 is another volume than the one selected. Nothing was erased.")
            .arg(device, disk.mountPoint);

    if (const auto reason = whyNotTarget(*byDevice.info, std::get<StartupDisk>(startup)))
        //: %1 is a device such as disk4s2, %2 a folder such as /Volumes/USB, %3 why (“it is
        //: read-only”)
        return tr("%1 at %2 cannot be erased: %3. Nothing was erased.")
            .arg(device, disk.mountPoint, *reason);
    return std::nullopt;
}
