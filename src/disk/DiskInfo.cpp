#include "disk/DiskInfo.h"

#include "model/ByteFormat.h"

#include <QHash>

DiskInfo::DiskInfo(const QString &deviceIdentifier, const QString &volumeName,
                   const QString &mountPoint, qint64 size, qint64 freeSpace, bool isRemovable)
    : deviceIdentifier(deviceIdentifier), volumeName(volumeName), mountPoint(mountPoint),
      size(size), freeSpace(freeSpace), isRemovable(isRemovable)
{
}

QString DiskInfo::formattedSize() const
{
    return formatGigabytes(size);
}

QString DiskInfo::formattedFreeSpace() const
{
    return formatGigabytes(freeSpace);
}

size_t qHash(const DiskInfo &disk, size_t seed)
{
    return qHash(disk.deviceIdentifier, seed);
}
