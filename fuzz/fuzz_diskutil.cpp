// diskutil's property-list answers, read as a `diskutil list -plist` listing and as a
// `diskutil info -plist` answer, the way disk discovery reads them.

#include "FuzzInput.h"

#include "disk/DiskUtility.h"
#include "propertylist/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray answer(reinterpret_cast<const char *>(data), qsizetype(size));

    if (const auto disks = DiskUtility::readDiskList(answer)) {
        for (const DiskUtility::ListedDisk &disk : *disks) {
            // Only identifiers that name a disk are asked about.
            for (const DiskUtility::ListedVolume &volume : disk.volumes)
                FUZZ_EXPECT(volume.deviceIdentifier.startsWith(QLatin1String("disk")));
        }
    }

    if (const auto info = readPropertyListDictionary(answer)) {
        const auto startup = DiskUtility::readStartupDisk(*info);
        // A volume on the startup disk is never a target, whatever else the answer says.
        if (startup)
            FUZZ_EXPECT(DiskUtility::whyNotTarget(*info, *startup).has_value());
        if (!DiskUtility::whyNotTarget(*info, DiskUtility::StartupDisk{})) {
            const DiskInfo disk = DiskUtility::targetRecord(*info);
            FUZZ_EXPECT(!disk.mountPoint.isEmpty() && disk.size >= 0 && disk.freeSpace >= 0);
        }
    }
    return 0;
}
