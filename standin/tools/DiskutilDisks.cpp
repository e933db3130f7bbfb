#include "tools/DiskutilDisks.h"

#include "World.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The world's own keys, never shown by diskutil.
const QStringList worldOnlyKeys{QStringLiteral("Info"), QStringLiteral("Standin")};

QString identifierOf(const QJsonObject &entry)
{
    return entry.value(u"DeviceIdentifier").toString();
}

QJsonObject withoutWorldKeys(QJsonObject entry)
{
    for (const QString &key : worldOnlyKeys)
        entry.remove(key);
    for (auto it = entry.begin(); it != entry.end(); ++it) {
        if (!it.value().isArray())
            continue;
        QJsonArray items = it.value().toArray();
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (items.at(i).isObject())
                items.replace(i, withoutWorldKeys(items.at(i).toObject()));
        }
        it.value() = items;
    }
    return entry;
}

// The list keys `diskutil info` repeats: its single values, without the list's bookkeeping.
void addListKeys(QJsonObject &info, const QJsonObject &entry, bool wholeDisk)
{
    for (auto it = entry.begin(); it != entry.end(); ++it) {
        if (it.value().isArray() || it.value().isObject() || worldOnlyKeys.contains(it.key()) ||
            it.key() == QLatin1String("OSInternal"))
            continue;
        // A whole disk's Content is its partition map, which info leaves to `list`.
        if (wholeDisk && it.key() == QLatin1String("Content"))
            continue;
        info.insert(it.key(), it.value());
    }
}

bool isUnder(const QString &path, const QString &folder)
{
    if (folder == QLatin1String("/"))
        return path.startsWith(u'/');
    return path == folder || path.startsWith(folder + u'/');
}

} // namespace

namespace DiskutilDisks {

QJsonArray slices(const QJsonObject &disk)
{
    QJsonArray result = disk.value(u"Partitions").toArray();
    for (const QJsonValue &volume : disk.value(u"APFSVolumes").toArray())
        result.append(volume);
    return result;
}

QStringList mountPoints(const QJsonObject &disk)
{
    QStringList result;
    for (const QJsonValue &slice : slices(disk)) {
        const QString mountPoint = slice.toObject().value(u"MountPoint").toString();
        if (!mountPoint.isEmpty())
            result << mountPoint;
    }
    return result;
}

std::optional<Found> byIdentifier(const QJsonArray &disks, const QString &identifier)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:/dev/r?)?(disk[0-9]+(?:s[0-9]+)*)$"));
    const QRegularExpressionMatch match = pattern.match(identifier);
    if (!match.hasMatch())
        return std::nullopt;
    const QString wanted = match.captured(1);
    for (qsizetype i = 0; i < disks.size(); ++i) {
        const QJsonObject disk = disks.at(i).toObject();
        if (identifierOf(disk) == wanted)
            return Found{i, disk, std::nullopt};
        for (const QJsonValue &slice : slices(disk)) {
            if (identifierOf(slice.toObject()) == wanted)
                return Found{i, disk, slice.toObject()};
        }
    }
    return std::nullopt;
}

std::optional<Found> byMacPath(const World &world, const QJsonArray &disks, const QString &macPath)
{
    const QString path = QDir::cleanPath(macPath);
    std::optional<Found> best;
    qsizetype bestLength = -1;
    for (qsizetype i = 0; i < disks.size(); ++i) {
        const QJsonObject disk = disks.at(i).toObject();
        for (const QJsonValue &value : slices(disk)) {
            const QJsonObject slice = value.toObject();
            const QString mountPoint = slice.value(u"MountPoint").toString();
            if (mountPoint.isEmpty())
                continue;
            if (mountPoint == path)
                return Found{i, disk, slice};
            if (isUnder(path, mountPoint) && mountPoint.size() > bestLength) {
                best = Found{i, disk, slice};
                bestLength = mountPoint.size();
            }
        }
    }
    // Like the real tool, which asks the file system, a path must exist to lie on a volume.
    if (!QFileInfo::exists(world.hostPath(path)))
        return std::nullopt;
    return best;
}

std::optional<Found> find(const World &world, const QJsonArray &disks, const QString &argument)
{
    if (argument.isEmpty())
        return std::nullopt;
    if (!argument.contains(u'/') || argument.startsWith(QLatin1String("/dev/")))
        return byIdentifier(disks, argument);
    // A path outside the world is taken as a path on the stand-in Mac.
    const QString absolute = QDir::cleanPath(QFileInfo(argument).absoluteFilePath());
    QString macPath = world.macPath(absolute);
    // The world may also be reached through a symbolic link on the way to it.
    const QString canonicalRoot = QFileInfo(world.root()).canonicalFilePath();
    if (macPath == absolute && !canonicalRoot.isEmpty() && canonicalRoot != world.root()) {
        if (absolute == canonicalRoot)
            macPath = QStringLiteral("/");
        else if (absolute.startsWith(canonicalRoot + u'/'))
            macPath = absolute.mid(canonicalRoot.size());
    }
    return byMacPath(world, disks, macPath);
}

QJsonObject list(const QJsonArray &disks)
{
    QJsonArray allDisks;
    QJsonArray entries;
    QJsonArray volumes;
    QJsonArray wholeDisks;
    for (const QJsonValue &value : disks) {
        const QJsonObject disk = value.toObject();
        wholeDisks.append(identifierOf(disk));
        allDisks.append(identifierOf(disk));
        for (const QJsonValue &slice : slices(disk)) {
            const QJsonObject entry = slice.toObject();
            allDisks.append(identifierOf(entry));
            if (entry.contains(u"MountPoint") && entry.contains(u"VolumeName"))
                volumes.append(entry.value(u"VolumeName"));
        }
        entries.append(withoutWorldKeys(disk));
    }
    return {
        {QStringLiteral("AllDisks"), allDisks},
        {QStringLiteral("AllDisksAndPartitions"), entries},
        {QStringLiteral("VolumesFromDisks"), volumes},
        {QStringLiteral("WholeDisks"), wholeDisks},
    };
}

QJsonObject info(const Found &found)
{
    const QJsonObject device = found.disk.value(u"Info").toObject();
    const QString wholeDisk = identifierOf(found.disk);
    QJsonObject result;
    QJsonObject entry;
    if (found.slice) {
        entry = *found.slice;
        result = device;
        // The device's name belongs to the whole disk only.
        result.remove(QStringLiteral("IORegistryEntryName"));
        result.insert(QStringLiteral("MediaName"), QString());
        addListKeys(result, entry, false);
        const QJsonObject own = entry.value(u"Info").toObject();
        for (auto it = own.begin(); it != own.end(); ++it)
            result.insert(it.key(), it.value());
    } else {
        entry = found.disk;
        result = device;
        addListKeys(result, entry, true);
    }
    const QJsonValue size = entry.value(u"Size");
    result.insert(QStringLiteral("DeviceNode"), QStringLiteral("/dev/") + identifierOf(entry));
    result.insert(QStringLiteral("IOKitSize"), size);
    result.insert(QStringLiteral("MountPoint"), entry.value(u"MountPoint").toString());
    result.insert(QStringLiteral("ParentWholeDisk"), wholeDisk);
    result.insert(QStringLiteral("TotalSize"), size);
    result.insert(QStringLiteral("WholeDisk"), !found.slice.has_value());
    // A container and its volumes name the partitions the container lives on.
    const QJsonArray stores = found.disk.value(u"APFSPhysicalStores").toArray();
    if (!stores.isEmpty()) {
        QJsonArray named;
        for (const QJsonValue &store : stores)
            named.append(QJsonObject{{QStringLiteral("APFSPhysicalStore"),
                                      store.toObject().value(u"DeviceIdentifier").toString()}});
        result.insert(QStringLiteral("APFSContainerReference"), wholeDisk);
        result.insert(QStringLiteral("APFSPhysicalStores"), named);
    }
    return result;
}

} // namespace DiskutilDisks
