// diskutil's property-list answers, read as a `diskutil list -plist` listing and as a
// `diskutil info -plist` answer, the way disk discovery reads them.

#include "FuzzInput.h"

#include "disk/DiskUtility.h"
#include "model/PropertyList.h"

#include <QDir>
#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray answer(reinterpret_cast<const char *>(data), qsizetype(size));

    if (const auto disks = DiskUtility::readDiskList(answer)) {
        for (const DiskUtility::ListedDisk &disk : *disks) {
            for (const DiskUtility::ListedVolume &volume : disk.volumes) {
                // The name becomes a mount point: exactly one entry of the volumes folder, with
                // no NUL for the system to cut it short at.
                const QString mountPoint = QStringLiteral("/Volumes/") + volume.volumeName;
                FUZZ_EXPECT(QDir::cleanPath(mountPoint) == mountPoint &&
                            QFileInfo(mountPoint).path() == QLatin1String("/Volumes") &&
                            !mountPoint.contains(QChar(0)));
            }
        }
    }

    if (const auto info = readPropertyListDictionary(answer)) {
        (void)DiskUtility::infoSaysRemovableDisk(*info);
        (void)DiskUtility::infoSaysRemovableVolume(*info);
    }
    return 0;
}
