#pragma once

#include <QMetaType>
#include <QString>
#include <QUuid>

// One removable volume that can receive installer media. Records are values; every record gets
// a fresh `id`, so lists from two scans never share identities, while equality (and hashing)
// go by the device alone.
struct DiskInfo {
    QUuid id = QUuid::createUuid();
    QString deviceIdentifier; // as diskutil names it, e.g. disk4s2
    QString volumeName;
    QString mountPoint;
    qint64 size = 0; // file-system size in bytes
    qint64 freeSpace = 0;
    bool isRemovable = false;
    // The whole disk the volume lies on, e.g. disk4; empty when not known.
    QString wholeDiskIdentifier;
    // External media that cannot be removed from its drive, such as a USB SSD: not a stick.
    bool isFixedExternal = false;
    // The file system's identity as diskutil gave it; empty when it gave none. A volume made
    // anew under the same identifier and mount point has another one.
    QString volumeUuid;

    DiskInfo() = default;
    DiskInfo(const QString &deviceIdentifier, const QString &volumeName, const QString &mountPoint,
             qint64 size, qint64 freeSpace, bool isRemovable);

    QString formattedSize() const;
    QString formattedFreeSpace() const;

    friend bool operator==(const DiskInfo &a, const DiskInfo &b)
    {
        return a.deviceIdentifier == b.deviceIdentifier;
    }
};

// Follows equality, so the same device from two scans lands in the same bucket.
size_t qHash(const DiskInfo &disk, size_t seed = 0);

Q_DECLARE_METATYPE(DiskInfo)
