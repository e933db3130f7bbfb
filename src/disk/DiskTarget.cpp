// Which volumes may be erased: the rule the scan offers by and the check before erasing refuses
// by, read from diskutil's own answers about the device, never from a volume's name.

#include "disk/DiskTool.h"
#include "disk/DiskUtility.h"

#include "host/Host.h"

#include <QFileInfo>

namespace {

// The whole disks of an APFS volume's or container's physical stores; empty for other volumes.
QStringList physicalStoreDisks(const QVariantMap &info)
{
    QStringList disks;
    const auto stores = DiskTool::dictionaries(info.value(QStringLiteral("APFSPhysicalStores")));
    for (const QVariantMap &store : stores.value_or(QList<QVariantMap>())) {
        const auto identifier = DiskTool::string(store, QStringLiteral("APFSPhysicalStore"));
        if (const auto whole = identifier ? DiskTool::wholeDiskOf(*identifier) : std::nullopt)
            disks << *whole;
    }
    return disks;
}

// The whole disk of the answer: its ParentWholeDisk, else what its identifier names.
std::optional<QString> parentWholeDisk(const QVariantMap &info)
{
    if (const auto parent = DiskTool::string(info, QStringLiteral("ParentWholeDisk")))
        return DiskTool::wholeDiskOf(*parent);
    const auto identifier = DiskTool::string(info, QStringLiteral("DeviceIdentifier"));
    return identifier ? DiskTool::wholeDiskOf(*identifier) : std::nullopt;
}

} // namespace

std::optional<DiskUtility::StartupDisk> DiskUtility::readStartupDisk(const QVariantMap &rootInfo)
{
    const auto parent = parentWholeDisk(rootInfo);
    if (!parent)
        return std::nullopt;
    StartupDisk startup{{*parent}};
    for (const QString &store : physicalStoreDisks(rootInfo)) {
        if (!startup.wholeDisks.contains(store))
            startup.wholeDisks << store;
    }
    return startup;
}

std::variant<DiskUtility::StartupDisk, DiskUtilityError> DiskUtility::findStartupDisk()
{
    const DiskTool::Answer root = DiskTool::ask(Host::current().hostPath(QStringLiteral("/")));
    if (root.failure)
        return *root.failure;
    const auto startup = root.info ? readStartupDisk(*root.info) : std::nullopt;
    if (!startup)
        return DiskUtilityError::startupDiskUnknown();
    return *startup;
}

std::optional<QString> DiskUtility::whyNotTarget(const QVariantMap &volumeInfo,
                                                 const StartupDisk &startup)
{
    const auto whole = parentWholeDisk(volumeInfo);
    if (!DiskTool::string(volumeInfo, QStringLiteral("DeviceIdentifier")) || !whole)
        //: Why a volume may not be erased, after “… cannot be erased: ”
        return tr("diskutil does not name its device");
    if (DiskTool::string(volumeInfo, QStringLiteral("MountPoint")).value_or(QString()).isEmpty())
        //: Why a volume may not be erased, after “… cannot be erased: ”
        return tr("it is not mounted");
    if (DiskTool::string(volumeInfo, QStringLiteral("BusProtocol")) == QLatin1String("Disk Image"))
        //: Why a volume may not be erased, after “… cannot be erased: ”
        return tr("it is a disk image");
    // "Virtual" and "Unknown" alike: only a device diskutil calls physical is a stick or disk.
    if (DiskTool::string(volumeInfo, QStringLiteral("VirtualOrPhysical")) !=
        QLatin1String("Physical"))
        //: Why a volume may not be erased, after “… cannot be erased: ”
        return tr("it is not a physical device");
    if (!DiskTool::isTrue(volumeInfo, QStringLiteral("WritableMedia")) ||
        !DiskTool::isTrue(volumeInfo, QStringLiteral("WritableVolume")))
        //: Why a volume may not be erased, after “… cannot be erased: ”
        return tr("it is read-only");
    // An SD card in the built-in reader is internal yet removable media.
    if (!DiskTool::isFalse(volumeInfo, QStringLiteral("Internal")) &&
        !DiskTool::isTrue(volumeInfo, QStringLiteral("RemovableMedia")))
        //: Why a volume may not be erased, after “… cannot be erased: ”
        return tr("it is a disk inside this Mac");
    QStringList disks = physicalStoreDisks(volumeInfo);
    disks << *whole;
    for (const QString &disk : std::as_const(disks)) {
        if (startup.wholeDisks.contains(disk))
            //: Why a volume may not be erased, after “… cannot be erased: ”
            return tr("it is on the disk this Mac started up from");
    }
    return std::nullopt;
}

DiskInfo DiskUtility::targetRecord(const QVariantMap &volumeInfo)
{
    const auto text = [&](const QString &key) { return DiskTool::string(volumeInfo, key); };
    const auto count = [&](const QString &key) { return DiskTool::integer(volumeInfo, key); };
    const QString mountPoint =
        Host::current().hostPath(text(QStringLiteral("MountPoint")).value_or(QString()));
    // An APFS volume's free space is its container's.
    const qint64 freeSpace = count(QStringLiteral("FreeSpace"))
                                 .value_or(count(QStringLiteral("APFSContainerFree")).value_or(0));
    DiskInfo disk(text(QStringLiteral("DeviceIdentifier")).value_or(QString()),
                  text(QStringLiteral("VolumeName")).value_or(QFileInfo(mountPoint).fileName()),
                  mountPoint, std::max<qint64>(count(QStringLiteral("TotalSize")).value_or(0), 0),
                  std::max<qint64>(freeSpace, 0), true);
    disk.wholeDiskIdentifier = parentWholeDisk(volumeInfo).value_or(QString());
    disk.isFixedExternal = !DiskTool::isTrue(volumeInfo, QStringLiteral("RemovableMedia"));
    disk.volumeUuid = text(QStringLiteral("VolumeUUID")).value_or(QString());
    return disk;
}
