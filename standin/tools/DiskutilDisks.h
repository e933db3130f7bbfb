#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

class World;

// The world's disks (World::disks(), laid out as WorldMaker.cpp describes) as diskutil shows them.
namespace DiskutilDisks {

// A whole disk, or one partition or APFS volume of it.
struct Found {
    qsizetype diskIndex = -1;
    QJsonObject disk;
    std::optional<QJsonObject> slice;
};

// "disk4s2", "/dev/disk4s2" or "/dev/rdisk4s2".
std::optional<Found> byIdentifier(const QJsonArray &disks, const QString &identifier);
// The volume holding `macPath`; an exact mount point counts even when the world lacks its folder.
std::optional<Found> byMacPath(const World &world, const QJsonArray &disks, const QString &macPath);
// What diskutil takes for a device: an identifier, a device node, or a path. Paths are the
// caller's, so they may be host paths into the world as well as Mac paths.
std::optional<Found> find(const World &world, const QJsonArray &disks, const QString &argument);

// Partitions and APFS volumes, in the order diskutil lists them.
QJsonArray slices(const QJsonObject &disk);
QStringList mountPoints(const QJsonObject &disk);

// `diskutil list -plist`, for the given whole disks.
QJsonObject list(const QJsonArray &disks);
// `diskutil info -plist`.
QJsonObject info(const Found &found);

} // namespace DiskutilDisks
