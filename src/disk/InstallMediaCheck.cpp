// The check after createinstallmedia says it succeeded: its exit status alone proves nothing (a
// run that printed "An error occurred erasing the disk." can still end with 0), so the target's
// whole disk must now hold a volume made anew with the installer inside.

#include "disk/DiskTool.h"
#include "disk/DiskUtility.h"

#include "exec/MainThread.h"
#include "host/Host.h"
#include "model/InstallMediaContents.h"

#include <QThreadPool>

DiskUtility::InstallMedia DiskUtility::fetchInstallMedia(const DiskInfo &target)
{
    const QString whole = !target.wholeDiskIdentifier.isEmpty()
                              ? target.wholeDiskIdentifier
                              : DiskTool::wholeDiskOf(target.deviceIdentifier).value_or(QString());
    const auto notChecked = [&](const QString &why) {
        //: %1 is a disk such as disk4, %2 why it could not be checked
        return InstallMedia{std::nullopt,
                            tr("createinstallmedia reported success, but %1 could not be "
                               "checked: %2. The USB drive may not be bootable.")
                                .arg(whole.isEmpty() ? target.deviceIdentifier : whole, why)};
    };
    if (whole.isEmpty())
        //: Why the disk could not be checked: the target's device names no disk
        return notChecked(tr("it names no disk"));

    const DiskTool::Run listing =
        DiskTool::run({QStringLiteral("list"), QStringLiteral("-plist"), whole});
    if (listing.failure)
        return notChecked(listing.failure->description());
    const auto disks = listing.exitStatus == 0 ? readDiskList(listing.output) : std::nullopt;
    if (!disks)
        return notChecked(tr("diskutil did not list it; it may have been removed"));

    for (const ListedDisk &disk : *disks) {
        if (disk.deviceIdentifier != whole)
            continue;
        for (const ListedVolume &volume : disk.volumes) {
            const DiskTool::Answer answer = DiskTool::ask(volume.deviceIdentifier);
            if (answer.failure)
                return notChecked(answer.failure->description());
            if (!answer.info)
                continue;
            const auto text = [&](const QString &key) {
                return DiskTool::string(*answer.info, key).value_or(QString());
            };
            // Erasing gives a volume a new identity: the one from before was never erased.
            if (!target.volumeUuid.isEmpty() &&
                text(QStringLiteral("VolumeUUID")) == target.volumeUuid)
                continue;
            const QString mountPoint = Host::current().hostPath(text(QStringLiteral("MountPoint")));
            if (!mountPoint.isEmpty() && installerApplicationIn(mountPoint))
                return {mountPoint, {}};
        }
    }
    //: %1 is a disk such as disk4
    return {std::nullopt, tr("createinstallmedia reported success, but no installer volume was "
                             "found on %1. The USB drive is not bootable.")
                              .arg(whole)};
}

void DiskUtility::findInstallMedia(const DiskInfo &target,
                                   std::function<void(const InstallMedia &found)> completion)
{
    QThreadPool::globalInstance()->start([target, completion = std::move(completion)] {
        const InstallMedia found = fetchInstallMedia(target);
        runOnMainThread([completion, found] { completion(found); });
    });
}
