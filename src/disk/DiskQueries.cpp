// The single-volume questions of DiskUtility: which device a path is on, whether a disk is
// removable, and how big a volume is.

#include "disk/DiskTool.h"
#include "disk/DiskUtility.h"

#include <QStorageInfo>

#include <algorithm>
#include <span>

namespace {

// The two removability questions differ only in which key names removable media and which buses
// count; an SD card reader is only trusted when asked about the whole disk.
struct RemovabilityRule {
    QLatin1StringView removableKey;
    std::span<const QLatin1StringView> buses;
};

constexpr QLatin1StringView wholeDiskBuses[] = {
    QLatin1StringView("USB"), QLatin1StringView("FireWire"), QLatin1StringView("Thunderbolt"),
    QLatin1StringView("SD"), QLatin1StringView("SDXC")};
constexpr QLatin1StringView volumeBuses[] = {
    QLatin1StringView("USB"), QLatin1StringView("FireWire"), QLatin1StringView("SDXC"),
    QLatin1StringView("Thunderbolt")};

bool saysRemovable(const QVariantMap &info, const RemovabilityRule &rule)
{
    if (DiskTool::isTrue(info, rule.removableKey) ||
        DiskTool::isTrue(info, QStringLiteral("External")))
        return true;
    const auto bus = DiskTool::string(info, QStringLiteral("BusProtocol"));
    if (!bus)
        return false;
    return std::any_of(rule.buses.begin(), rule.buses.end(),
                       [&](QLatin1StringView accepted) { return *bus == accepted; });
}

constexpr RemovabilityRule wholeDiskRule{QLatin1StringView("RemovableMedia"), wholeDiskBuses};
constexpr RemovabilityRule volumeRule{QLatin1StringView("Removable"), volumeBuses};

bool isRemovable(const QString &target, const RemovabilityRule &rule)
{
    const auto info =
        DiskTool::info(target, QStringLiteral("Error checking if disk is removable: "));
    return info && saysRemovable(*info, rule);
}

} // namespace

std::optional<QString> DiskUtility::getDeviceIdentifier(const QString &path)
{
    const auto info = DiskTool::info(path, QStringLiteral("Error getting device identifier: "));
    if (!info)
        return std::nullopt;
    return DiskTool::string(*info, QStringLiteral("DeviceIdentifier"));
}

bool DiskUtility::isRemovableDisk(const QString &diskIdentifier)
{
    return isRemovable(diskIdentifier, wholeDiskRule);
}

bool DiskUtility::isRemovableVolume(const QString &volumePath)
{
    return isRemovable(volumePath, volumeRule);
}

bool DiskUtility::infoSaysRemovableDisk(const QVariantMap &info)
{
    return saysRemovable(info, wholeDiskRule);
}

bool DiskUtility::infoSaysRemovableVolume(const QVariantMap &info)
{
    return saysRemovable(info, volumeRule);
}

DiskUtility::VolumeSpace DiskUtility::getVolumeInfo(const QString &mountPoint)
{
    const QStorageInfo storage(mountPoint);
    if (!storage.isValid() || !storage.isReady())
        return {};
    // Qt says -1 for a figure the file system does not give.
    return {std::max<qint64>(storage.bytesTotal(), 0),
            std::max<qint64>(storage.bytesAvailable(), 0)};
}
