#include "tools/HdiutilImages.h"

#include "World.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

#include <algorithm>

namespace {

const QString stateName = QStringLiteral("images");
const QByteArray headerStart = QByteArrayLiteral("tessaline-standin image ");
// A UUID's text and the line break after it.
constexpr qsizetype headerIdSize = 36 + 1;

struct Filesystem {
    const char *option;
    const char *type;
    const char *name;
    const char *partition;
};

// The file systems hdiutil formats a new image with, and how diskutil then shows them.
const Filesystem filesystems[] = {
    {"HFS+J", "hfs", "Mac OS Extended (Journaled)", "Apple_HFS"},
    {"JHFS+", "hfs", "Mac OS Extended (Journaled)", "Apple_HFS"},
    {"HFS+", "hfs", "Mac OS Extended", "Apple_HFS"},
    {"MS-DOS", "msdos", "MS-DOS FAT32", "Microsoft Basic Data"},
    {"FAT32", "msdos", "MS-DOS FAT32", "Microsoft Basic Data"},
    {"ExFAT", "exfat", "ExFAT", "Microsoft Basic Data"},
};

const Filesystem &filesystemFor(const QString &option)
{
    for (const Filesystem &filesystem : filesystems) {
        if (option.compare(QLatin1String(filesystem.option), Qt::CaseInsensitive) == 0)
            return filesystem;
    }
    return filesystems[0];
}

// The media name diskutil reports for an image of each format.
QString mediaName(const QString &format)
{
    const QString upper = format.toUpper();
    if (upper == QLatin1String("UDRW") || upper == QLatin1String("UDSP") ||
        upper == QLatin1String("UDSB"))
        return QStringLiteral("Apple UDIF read-write");
    if (upper == QLatin1String("UDTO"))
        return QStringLiteral("Apple raw read-write");
    if (upper == QLatin1String("UDZO"))
        return QStringLiteral("Apple UDIF read-only compressed (zlib)");
    if (upper == QLatin1String("ULFO"))
        return QStringLiteral("Apple UDIF read-only compressed (lzfse)");
    if (upper == QLatin1String("UDBZ"))
        return QStringLiteral("Apple UDIF read-only compressed (bzip2)");
    return QStringLiteral("Apple UDIF read-only");
}

QString newUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

// The id in the image file's header, or empty when it has none.
QString idInHeader(const QString &hostPath)
{
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray header = file.read(headerStart.size() + headerIdSize);
    if (!header.startsWith(headerStart) || !header.endsWith('\n'))
        return {};
    const QString id = QString::fromLatin1(header.mid(headerStart.size(), headerIdSize - 1));
    return QUuid::fromString(id).isNull() ? QString() : id;
}

std::optional<HdiutilImages::Image> imageFrom(const QJsonValue &entry)
{
    if (!entry.isObject())
        return std::nullopt;
    const QJsonObject image = entry.toObject();
    return HdiutilImages::Image{image.value(u"volumeName").toString(),
                                image.value(u"filesystem").toString(),
                                image.value(u"format").toString(), image.value(u"id").toString()};
}

} // namespace

namespace HdiutilImages {

std::optional<Image> find(const World &world, const QString &hostPath)
{
    if (!QFileInfo(hostPath).isFile())
        return std::nullopt;
    const QJsonObject images = world.readState(stateName).value(u"images").toObject();
    const QString id = idInHeader(hostPath);
    if (id.isEmpty())
        return imageFrom(images.value(world.macPath(hostPath)));
    // Wherever the file went, and under whatever name, its header tells which image it is.
    for (const QJsonValue &entry : images) {
        if (entry.toObject().value(u"id").toString() == id)
            return imageFrom(entry);
    }
    return std::nullopt;
}

bool record(const World &world, const QString &hostPath, const Image &image, QString *error)
{
    return world.updateState(
        stateName,
        [&](QJsonObject &state) {
            QJsonObject images = state.value(u"images").toObject();
            QJsonObject entry{{QStringLiteral("volumeName"), image.volumeName},
                              {QStringLiteral("filesystem"), image.filesystem},
                              {QStringLiteral("format"), image.format}};
            if (!image.id.isEmpty())
                entry.insert(QStringLiteral("id"), image.id);
            images.insert(world.macPath(hostPath), entry);
            state.insert(QStringLiteral("images"), images);
            return true;
        },
        error);
}

std::optional<QString> giveIdentity(const QString &hostPath, QString *error)
{
    const QString id = newUuid();
    const QByteArray header = headerStart + id.toLatin1() + '\n';
    QFile file(hostPath);
    // Written over the start, not truncated: the image keeps its size and stays sparse.
    if (!file.open(QIODevice::ReadWrite) || file.write(header) != header.size()) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return id;
}

QString contentFolder(const World &world, const QString &id)
{
    return world.stateFolder() + QStringLiteral("/image-content/") + id;
}

bool knowsFilesystem(const QString &filesystem)
{
    for (const Filesystem &known : filesystems) {
        if (filesystem.compare(QLatin1String(known.option), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString nextIdentifier(const QJsonArray &disks)
{
    static const QRegularExpression pattern(QStringLiteral("^disk([0-9]+)$"));
    int highest = -1;
    for (const QJsonValue &disk : disks) {
        const QRegularExpressionMatch match =
            pattern.match(disk.toObject().value(u"DeviceIdentifier").toString());
        if (match.hasMatch())
            highest = std::max(highest, match.captured(1).toInt());
    }
    return QStringLiteral("disk%1").arg(highest + 1);
}

QJsonObject attachedDisk(const QString &identifier, const Image &image, qint64 size,
                         const QString &imageMacPath, const QString &mountPoint, bool readOnly)
{
    const QString media = mediaName(image.format);
    const bool writable = !readOnly && media.contains(QLatin1String("read-write"));
    const QJsonObject device{
        {QStringLiteral("AESHardware"), false},
        {QStringLiteral("Bootable"), false},
        {QStringLiteral("BooterDeviceIdentifier"), QString()},
        {QStringLiteral("BusProtocol"), QStringLiteral("Disk Image")},
        {QStringLiteral("CanBeMadeBootable"), false},
        {QStringLiteral("CanBeMadeBootableRequiresDestroy"), false},
        {QStringLiteral("DeviceBlockSize"), 512},
        {QStringLiteral("Ejectable"), true},
        {QStringLiteral("EjectableMediaAutomaticUnderSoftwareControl"), false},
        {QStringLiteral("EjectableOnly"), true},
        {QStringLiteral("FreeSpace"), 0},
        {QStringLiteral("GlobalPermissionsEnabled"), false},
        {QStringLiteral("IORegistryEntryName"), media + QStringLiteral(" Media")},
        {QStringLiteral("Internal"), false},
        {QStringLiteral("LowLevelFormatSupported"), false},
        {QStringLiteral("MediaName"), media},
        {QStringLiteral("MediaType"), QStringLiteral("Generic")},
        {QStringLiteral("OSInternalMedia"), false},
        {QStringLiteral("Removable"), true},
        {QStringLiteral("RemovableMedia"), true},
        {QStringLiteral("RemovableMediaOrExternalDevice"), true},
        {QStringLiteral("SMARTStatus"), QStringLiteral("Not Supported")},
        {QStringLiteral("SolidState"), false},
        {QStringLiteral("SupportsGlobalPermissionsDisable"), false},
        {QStringLiteral("SystemImage"), false},
        {QStringLiteral("VirtualOrPhysical"), QStringLiteral("Virtual")},
        {QStringLiteral("Writable"), writable},
        {QStringLiteral("WritableMedia"), writable},
        {QStringLiteral("WritableSupported"), writable},
    };

    // The GUID map takes 20 KiB at either end, and the volume the rest.
    const qint64 volumeSize = std::max<qint64>(0, size - 40 * 512 - 34 * 512) / 4096 * 4096;
    const Filesystem &filesystem = filesystemFor(image.filesystem);
    const QJsonObject volume{
        {QStringLiteral("Content"), QLatin1String(filesystem.partition)},
        {QStringLiteral("DeviceIdentifier"), identifier + QStringLiteral("s1")},
        {QStringLiteral("DiskUUID"), newUuid()},
        {QStringLiteral("Info"),
         QJsonObject{
             {QStringLiteral("FilesystemName"), QLatin1String(filesystem.name)},
             {QStringLiteral("FilesystemType"), QLatin1String(filesystem.type)},
             {QStringLiteral("FilesystemUserVisibleName"), QLatin1String(filesystem.name)},
             {QStringLiteral("FreeSpace"), volumeSize},
             {QStringLiteral("WritableVolume"), writable},
         }},
        {QStringLiteral("MountPoint"), mountPoint},
        {QStringLiteral("Size"), volumeSize},
        {QStringLiteral("VolumeName"), image.volumeName},
        {QStringLiteral("VolumeUUID"), newUuid()},
    };
    QJsonObject notes{{QStringLiteral("ImagePath"), imageMacPath}};
    if (!image.id.isEmpty())
        notes.insert(QStringLiteral("ImageId"), image.id);
    return {
        {QStringLiteral("Content"), QStringLiteral("GUID_partition_scheme")},
        {QStringLiteral("DeviceIdentifier"), identifier},
        {QStringLiteral("Info"), device},
        {QStringLiteral("OSInternal"), false},
        {QStringLiteral("Partitions"), QJsonArray{volume}},
        {QStringLiteral("Size"), size},
        {QStringLiteral("Standin"), notes},
    };
}

} // namespace HdiutilImages
