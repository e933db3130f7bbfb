// hdiutil: create, attach, detach and convert, on sparse images whose files the world keeps aside.
//
// create makes a sparse file of the asked size with a new id in its header and notes its volume
// name and file system (see HdiutilImages.h); attach mounts it on a folder in the world and moves
// the image's files, if it has any yet, into that folder, which is the volume's content while it
// stays mounted. -readonly has the volume say it is not writable, though its files are not made
// read-only; -nobrowse, which only hides the volume from the Finder, changes nothing here. detach
// (or eject) moves the files of the folder the volume is mounted on by then back into the image,
// and deletes that folder if the system chose it under /Volumes (a folder -mountpoint names
// elsewhere stays, empty, as the system leaves a mount point it did not choose); the volume of an
// image without an id (an installer's SharedSupport.dmg) keeps nothing, its folder deleted with
// all it held. convert writes a sparse file in the new format with an id of its own and a copy of
// the image's files. A .standin-busy file in a mounted volume makes detach refuse, unless -force
// is given (the file is then not kept with the image's files); a world whose
// var/standin/hdiutil.json says {"detach": "unmount-only"} has detach unmount the volumes but
// leave the image attached, as when something holds the device open (status 16); with "times": N
// it does so N times, then lets go as something does once it has closed the device. The files of
// create's -srcfolder are not copied: the program only lays out an empty volume that way.
//
// Every invocation appends its argv as one JSON array line to var/standin/hdiutil.log:
//   ["hdiutil", "detach", "/Volumes/Install macOS Sonoma", "-force"]
#include "World.h"
#include "tools/DiskutilDisks.h"
#include "tools/FileTree.h"
#include "tools/HdiutilImages.h"
#include "tools/PackageToolSupport.h"
#include "tools/Tools.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

using HdiutilImages::Image;
using ToolSupport::writeErr;
using ToolSupport::writeOut;

const QString busyMarker = QStringLiteral(".standin-busy");
// hdiutil's status when the kernel refuses an unmount (EBUSY).
constexpr int busyStatus = 16;

int failed(const QString &verb, const QString &reason)
{
    writeErr(QStringLiteral("hdiutil: %1 failed - %2\n").arg(verb, reason).toUtf8());
    return 1;
}

int verbUsage(const QString &synopsis, const QString &verb)
{
    writeErr(
        QStringLiteral("Usage:\thdiutil %1\n\thdiutil %2 -help\n").arg(synopsis, verb).toUtf8());
    return 1;
}

int usage()
{
    writeErr("Usage: hdiutil <verb> <options>\n"
             "<verb> is one of the following:\n"
             "attach\n"
             "convert\n"
             "create\n"
             "detach\n"
             "eject\n"
             "help\n"
             "Type 'hdiutil <verb> -help' for help with a specific verb.\n");
    return 1;
}

// Options of one verb: which take a value, which stand alone. Everything else not starting with
// "-" is an operand.
struct Parsed {
    QHash<QString, QString> values;
    QSet<QString> flags;
    QStringList operands;
};

std::optional<Parsed> parse(const QStringList &args, const QStringList &valueOptions,
                            const QStringList &flagOptions)
{
    Parsed parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (!arg.startsWith(u'-') || arg == QLatin1String("-")) {
            parsed.operands << arg;
            continue;
        }
        // hdiutil takes its options in either case.
        const QString option = arg.toLower();
        if (valueOptions.contains(option)) {
            if (i + 1 >= args.size())
                return std::nullopt;
            parsed.values.insert(option, args.at(++i));
        } else if (flagOptions.contains(option)) {
            parsed.flags.insert(option);
        } else {
            return std::nullopt;
        }
    }
    return parsed;
}

// mkfile's sizes: a bare number is bytes, "b" means 512-byte sectors.
std::optional<qint64> parseSize(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]+(?:\\.[0-9]+)?)([bkmgt]?)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const double number = match.captured(1).toDouble();
    double unit = 1;
    const QString suffix = match.captured(2).toLower();
    switch (suffix.isEmpty() ? ' ' : suffix.at(0).unicode()) {
    case 'b':
        unit = 512;
        break;
    case 'k':
        unit = 1024.0;
        break;
    case 'm':
        unit = 1024.0 * 1024;
        break;
    case 'g':
        unit = 1024.0 * 1024 * 1024;
        break;
    case 't':
        unit = 1024.0 * 1024 * 1024 * 1024;
        break;
    default:
        break;
    }
    const double bytes = number * unit;
    if (bytes <= 0 || bytes > 9e18)
        return std::nullopt;
    return static_cast<qint64>(bytes);
}

QString extensionFor(const QString &format)
{
    const QString upper = format.toUpper();
    if (upper == QLatin1String("UDTO"))
        return QStringLiteral(".cdr");
    if (upper == QLatin1String("UDSP"))
        return QStringLiteral(".sparseimage");
    return QStringLiteral(".dmg");
}

// hdiutil adds the format's extension unless the name already ends in it.
QString withExtension(const QString &path, const QString &format)
{
    const QString extension = extensionFor(format);
    return path.endsWith(extension, Qt::CaseInsensitive) ? path : path + extension;
}

bool fitsOnto(const QString &folder, qint64 size)
{
    const QStorageInfo storage(folder);
    return !storage.isValid() || storage.bytesAvailable() >= size;
}

void printPaced(const QByteArray &text, bool quiet, int milliseconds = 0)
{
    if (quiet)
        return;
    writeOut(text);
    ToolSupport::pause(milliseconds);
}

int create(const World &world, const QStringList &args)
{
    const auto synopsis = [] {
        return verbUsage(QStringLiteral("create [options] <imagepath>"), QStringLiteral("create"));
    };
    const std::optional<Parsed> parsed =
        parse(args,
              {"-size", "-volname", "-fs", "-srcfolder", "-format", "-layout", "-type", "-fsargs",
               "-sectors"},
              {"-ov", "-quiet", "-nospotlight", "-noscrub", "-anyowners", "-noanyowners"});
    if (!parsed || parsed->operands.size() != 1)
        return synopsis();
    const bool quiet = parsed->flags.contains(QStringLiteral("-quiet"));
    const QString source = parsed->values.value(QStringLiteral("-srcfolder"));
    const QString format = parsed->values.value(QStringLiteral("-format"), QStringLiteral("UDRW"));
    const QString filesystem = parsed->values.value(QStringLiteral("-fs"), QStringLiteral("HFS+J"));

    QString sourceFolder;
    if (!source.isEmpty()) {
        sourceFolder = ToolSupport::hostPath(world, source);
        if (!QFileInfo(sourceFolder).isDir())
            return failed(QStringLiteral("create"), QStringLiteral("No such file or directory"));
    }

    std::optional<qint64> size;
    if (parsed->values.contains(QStringLiteral("-size"))) {
        size = parseSize(parsed->values.value(QStringLiteral("-size")));
        if (!size)
            return synopsis();
    } else if (parsed->values.contains(QStringLiteral("-sectors"))) {
        size = parseSize(parsed->values.value(QStringLiteral("-sectors")) + u'b');
        if (!size)
            return synopsis();
    } else if (!sourceFolder.isEmpty()) {
        // Room for the folder's files and the file system's own.
        size = FileTree::apparentSize(sourceFolder) * 11 / 10 + 4 * 1024 * 1024;
    } else {
        return synopsis();
    }
    if (!HdiutilImages::knowsFilesystem(filesystem))
        return failed(QStringLiteral("create"), QStringLiteral("Invalid argument"));

    const QString given = withExtension(parsed->operands.first(), format);
    const QString path = ToolSupport::hostPath(world, given);
    const QFileInfo file(path);
    if (file.exists() && !(parsed->flags.contains(QStringLiteral("-ov")) && file.isFile()))
        return failed(QStringLiteral("create"), QStringLiteral("File exists"));
    if (!QFileInfo(file.path()).isDir())
        return failed(QStringLiteral("create"), QStringLiteral("No such file or directory"));
    if (!fitsOnto(file.path(), *size))
        return failed(QStringLiteral("create"), QStringLiteral("No space left on device"));

    QString error;
    if (!ToolSupport::makeSparseFile(path, *size, &error))
        return failed(QStringLiteral("create"), error);
    QString volumeName = parsed->values.value(QStringLiteral("-volname"));
    if (volumeName.isEmpty())
        volumeName = sourceFolder.isEmpty() ? QStringLiteral("untitled")
                                            : QFileInfo(sourceFolder).fileName();
    const std::optional<QString> id = HdiutilImages::giveIdentity(path, &error);
    if (!id || !HdiutilImages::record(world, path, {volumeName, filesystem, format, *id}, &error)) {
        QFile::remove(path);
        return failed(QStringLiteral("create"), error);
    }

    for (int i = 0; i < 3; ++i)
        printPaced(QByteArray(20, '.'), quiet, 100);
    printPaced(QByteArray(19, '.') + '\n', quiet);
    printPaced("created: " + ToolSupport::echoedPath(given).toUtf8() + '\n', quiet);
    return 0;
}

bool isMountedAt(const QJsonArray &disks, const QString &mountPoint)
{
    for (const QJsonValue &disk : disks) {
        if (DiskutilDisks::mountPoints(disk.toObject()).contains(mountPoint))
            return true;
    }
    return false;
}

// The mount point attach picks without -mountpoint: /Volumes/NAME, numbered when taken.
QString freeMountPoint(const World &world, const QJsonArray &disks, const QString &name)
{
    for (int number = 0;; ++number) {
        const QString candidate = QStringLiteral("/Volumes/") + name +
                                  (number > 0 ? QStringLiteral(" %1").arg(number) : QString());
        if (!isMountedAt(disks, candidate) && !QFileInfo::exists(world.hostPath(candidate)))
            return candidate;
    }
}

// Whether the image file at `imageMacPath` is attached as one of `disks`.
bool isAttached(const QJsonArray &disks, const QString &imageMacPath)
{
    return std::any_of(disks.begin(), disks.end(), [&](const QJsonValue &disk) {
        return disk.toObject().value(u"Standin").toObject().value(u"ImagePath") == imageMacPath;
    });
}

// The image's files, kept since it was last detached, go into the folder its volume is mounted
// on.
bool restoreContent(const World &world, const QString &id, const QString &folder, QString *error)
{
    const QString store = HdiutilImages::contentFolder(world, id);
    if (!FileTree::moveEntries(store, folder, error))
        return false;
    QDir().rmdir(store);
    return true;
}

// The files of the volume as it is unmounted go into the image, in place of what it held before;
// the busy mark does not, as whatever held the volume let go of it then.
bool keepContent(const World &world, const QString &id, const QStringList &folders, QString *error)
{
    const QString store = HdiutilImages::contentFolder(world, id);
    if (!QDir(store).removeRecursively()) {
        *error = QStringLiteral("cannot remove %1").arg(store);
        return false;
    }
    for (const QString &folder : folders) {
        QFile::remove(folder + u'/' + busyMarker);
        if (!FileTree::moveEntries(folder, store, error))
            return false;
    }
    return true;
}

int attach(const World &world, const QStringList &args)
{
    const std::optional<Parsed> parsed =
        parse(args, {"-mountpoint", "-owners", "-mountroot"},
              {"-noverify", "-verify", "-nobrowse", "-browse", "-noautoopen", "-autoopen",
               "-readonly", "-readwrite", "-quiet", "-noautofsck", "-autofsck"});
    if (!parsed || parsed->operands.size() != 1)
        return verbUsage(QStringLiteral("attach [options] <image>"), QStringLiteral("attach"));
    const bool quiet = parsed->flags.contains(QStringLiteral("-quiet"));
    const bool readOnly = parsed->flags.contains(QStringLiteral("-readonly"));

    const QString path = ToolSupport::hostPath(world, parsed->operands.first());
    if (!QFileInfo::exists(path))
        return failed(QStringLiteral("attach"), QStringLiteral("No such file or directory"));
    std::optional<Image> image = HdiutilImages::find(world, path);
    if (!image)
        return failed(QStringLiteral("attach"), QStringLiteral("image not recognized"));
    const QString imageMacPath = world.macPath(path);

    enum class Outcome { Attached, AlreadyAttached, MountPointBusy, FolderFailed, ContentFailed };
    Outcome outcome = Outcome::Attached;
    QString identifier;
    QString mountPoint;
    QString partitionContent;
    QString contentError;
    QString error;
    const bool written = world.updateDisks(
        [&](QJsonArray &disks) {
            if (isAttached(disks, imageMacPath)) {
                outcome = Outcome::AlreadyAttached;
                return false;
            }
            if (parsed->values.contains(QStringLiteral("-mountpoint"))) {
                mountPoint = ToolSupport::macPath(
                    world, parsed->values.value(QStringLiteral("-mountpoint")));
            } else {
                const QString name = image->volumeName.isEmpty()
                                         ? QFileInfo(path).completeBaseName()
                                         : image->volumeName;
                mountPoint = freeMountPoint(world, disks, name);
            }
            if (isMountedAt(disks, mountPoint)) {
                outcome = Outcome::MountPointBusy;
                return false;
            }
            if (!QDir().mkpath(world.hostPath(mountPoint))) {
                outcome = Outcome::FolderFailed;
                return false;
            }
            // In place before the volume is listed, so that no one sees it mounted but empty.
            if (!image->id.isEmpty() &&
                !restoreContent(world, image->id, world.hostPath(mountPoint), &contentError)) {
                outcome = Outcome::ContentFailed;
                return false;
            }
            if (image->volumeName.isEmpty())
                image->volumeName = QFileInfo(mountPoint).fileName();
            identifier = HdiutilImages::nextIdentifier(disks);
            const QJsonObject disk = HdiutilImages::attachedDisk(
                identifier, *image, QFileInfo(path).size(), imageMacPath, mountPoint, readOnly);
            partitionContent =
                DiskutilDisks::slices(disk).first().toObject().value(u"Content").toString();
            disks.append(disk);
            return true;
        },
        &error);
    if (!written)
        return failed(QStringLiteral("attach"), error);
    switch (outcome) {
    case Outcome::AlreadyAttached:
        return failed(QStringLiteral("attach"), QStringLiteral("Resource temporarily unavailable"));
    case Outcome::MountPointBusy:
        return failed(QStringLiteral("attach"), QStringLiteral("Resource busy"));
    case Outcome::FolderFailed:
        return failed(QStringLiteral("attach"), QStringLiteral("Permission denied"));
    case Outcome::ContentFailed:
        return failed(QStringLiteral("attach"), contentError);
    case Outcome::Attached:
        break;
    }

    const auto row = [](const QString &device, const QString &content, const QString &mount) {
        return (QStringLiteral("/dev/") + device).leftJustified(20) + u'\t' +
               content.leftJustified(31) + u'\t' + mount + u'\n';
    };
    printPaced((row(identifier, QStringLiteral("GUID_partition_scheme"), QString()) +
                row(identifier + QStringLiteral("s1"), partitionContent, mountPoint))
                   .toUtf8(),
               quiet);
    return 0;
}

// The folder a volume lives in, or nothing for mount points that are not ours to delete: only
// folders right under the world's Volumes are.
QString volumeFolder(const World &world, const QString &mountPoint)
{
    const QString prefix = QStringLiteral("/Volumes/");
    const QString name = mountPoint.mid(prefix.size());
    if (!mountPoint.startsWith(prefix) || name.isEmpty() || name.contains(u'/') ||
        name == QLatin1String("..") || name == QLatin1String("."))
        return {};
    return world.hostPath(mountPoint);
}

void removeVolumeFolder(const QString &folder)
{
    const QFileInfo info(folder);
    // A link is removed itself; what it points at is not the volume's.
    if (info.isSymLink())
        QFile::remove(folder);
    else if (info.isDir() && !QDir(folder).removeRecursively())
        writeErr("hdiutil: could not remove " + folder.toUtf8() + '\n');
}

// The disk as it stays attached once each of its volumes is unmounted.
QJsonObject withoutMountPoints(QJsonObject disk)
{
    for (const char *key : {"Partitions", "APFSVolumes"}) {
        QJsonArray slices = disk.value(QLatin1String(key)).toArray();
        for (QJsonValueRef slice : slices) {
            QJsonObject unmounted = slice.toObject();
            unmounted.remove(u"MountPoint");
            slice = unmounted;
        }
        if (disk.contains(QLatin1String(key)))
            disk.insert(QLatin1String(key), slices);
    }
    return disk;
}

int detach(const World &world, const QStringList &args)
{
    const std::optional<Parsed> parsed = parse(args, {}, {"-force", "-quiet", "-verbose"});
    if (!parsed || parsed->operands.size() != 1)
        return verbUsage(QStringLiteral("detach [options] <devname>"), QStringLiteral("detach"));
    const bool force = parsed->flags.contains(QStringLiteral("-force"));
    const QString target = parsed->operands.first();
    const bool byDevice = !target.contains(u'/') || target.startsWith(QLatin1String("/dev/"));
    const QString targetMacPath = byDevice ? QString() : ToolSupport::macPath(world, target);

    // {"detach": "unmount-only", "times": N} lets go of the image after N such detaches.
    QJsonObject state = world.readState(QStringLiteral("hdiutil"));
    const bool unmountOnly = state.value(u"detach") == QLatin1String("unmount-only");
    if (unmountOnly && state.contains(u"times")) {
        const int times = state.value(u"times").toInt() - 1;
        if (times > 0)
            state.insert(QStringLiteral("times"), times);
        else
            state = {};
        world.writeState(QStringLiteral("hdiutil"), state);
    }
    enum class Outcome { Ejected, Unmounted, Unknown, Busy };
    Outcome outcome = Outcome::Unknown;
    QString wholeDisk;
    QString imageId;
    // The folders the volumes are mounted on; `folders`, those of them that go.
    QStringList mounted;
    QStringList folders;
    QString error;
    const bool written = world.updateDisks(
        [&](QJsonArray &disks) {
            const std::optional<DiskutilDisks::Found> found =
                byDevice ? DiskutilDisks::byIdentifier(disks, target)
                         : DiskutilDisks::byMacPath(world, disks, targetMacPath);
            // A path must be the mount point itself, not a file on the volume.
            if (!found || (!byDevice && found->slice->value(u"MountPoint") != targetMacPath))
                return false;
            wholeDisk = found->disk.value(u"DeviceIdentifier").toString();
            if (!found->disk.value(u"Info").toObject().value(u"Ejectable").toBool()) {
                outcome = Outcome::Busy;
                return false;
            }
            imageId = found->disk.value(u"Standin").toObject().value(u"ImageId").toString();
            for (const QString &mountPoint : DiskutilDisks::mountPoints(found->disk)) {
                mounted << world.hostPath(mountPoint);
                const QString folder = volumeFolder(world, mountPoint);
                if (folder.isEmpty())
                    continue;
                if (!force && QFileInfo::exists(folder + u'/' + busyMarker)) {
                    outcome = Outcome::Busy;
                    return false;
                }
                folders << folder;
            }
            if (unmountOnly) {
                disks[found->diskIndex] = withoutMountPoints(found->disk);
                outcome = Outcome::Unmounted;
                return true;
            }
            disks.removeAt(found->diskIndex);
            outcome = Outcome::Ejected;
            return true;
        },
        &error);
    if (!written)
        return failed(QStringLiteral("detach"), error);

    switch (outcome) {
    case Outcome::Unknown:
        return failed(QStringLiteral("detach"), QStringLiteral("No such file or directory"));
    case Outcome::Busy:
        writeErr(QStringLiteral("hdiutil: couldn't unmount \"%1\" - Resource busy\n")
                     .arg(wholeDisk)
                     .toUtf8());
        return busyStatus;
    case Outcome::Ejected:
    case Outcome::Unmounted:
        break;
    }
    // Files that could not be kept stay where they are rather than go. An image whose volume
    // an earlier try unmounted already has its files kept.
    if (!imageId.isEmpty() && !mounted.isEmpty() && !keepContent(world, imageId, mounted, &error)) {
        writeErr("hdiutil: " + error.toUtf8() + '\n');
        folders.clear();
    }
    for (const QString &folder : std::as_const(folders))
        removeVolumeFolder(folder);
    if (outcome == Outcome::Unmounted) {
        writeOut(QStringLiteral("\"%1\" unmounted.\n").arg(wholeDisk).toUtf8());
        writeErr(QStringLiteral("hdiutil: couldn't eject \"%1\" - Resource busy\n")
                     .arg(wholeDisk)
                     .toUtf8());
        return busyStatus;
    }
    printPaced(QStringLiteral("\"%1\" ejected.\n").arg(wholeDisk).toUtf8(),
               parsed->flags.contains(QStringLiteral("-quiet")));
    return 0;
}

// The converted image holds what the image it was made from holds.
bool copyContent(const World &world, const QString &fromId, const QString &toId, QString *error)
{
    const QString from = HdiutilImages::contentFolder(world, fromId);
    if (fromId.isEmpty() || !QFileInfo::exists(from))
        return true;
    const QString to = HdiutilImages::contentFolder(world, toId);
    QDir().mkpath(QFileInfo(to).path());
    return FileTree::copy(from, to, error);
}

int convert(const World &world, const QStringList &args)
{
    const std::optional<Parsed> parsed =
        parse(args, {"-format", "-o", "-imagekey", "-segmentsize"}, {"-ov", "-quiet"});
    if (!parsed || parsed->operands.size() != 1 ||
        !parsed->values.contains(QStringLiteral("-format")) ||
        !parsed->values.contains(QStringLiteral("-o")))
        return verbUsage(QStringLiteral("convert -format <format> -o <outfile> [options] <image>"),
                         QStringLiteral("convert"));
    const bool quiet = parsed->flags.contains(QStringLiteral("-quiet"));
    const QString format = parsed->values.value(QStringLiteral("-format"));

    const QString input = ToolSupport::hostPath(world, parsed->operands.first());
    if (!QFileInfo::exists(input))
        return failed(QStringLiteral("convert"), QStringLiteral("No such file or directory"));
    const std::optional<Image> image = HdiutilImages::find(world, input);
    if (!image)
        return failed(QStringLiteral("convert"), QStringLiteral("image not recognized"));
    // An attached image is held open by the system, which lets no one else read it whole.
    if (isAttached(world.disks(), world.macPath(input)))
        return failed(QStringLiteral("convert"),
                      QStringLiteral("Resource temporarily unavailable"));
    const qint64 size = QFileInfo(input).size();

    const QString given = withExtension(parsed->values.value(QStringLiteral("-o")), format);
    const QString output = ToolSupport::hostPath(world, given);
    const QFileInfo outputInfo(output);
    if (outputInfo.exists() &&
        !(parsed->flags.contains(QStringLiteral("-ov")) && outputInfo.isFile()))
        return failed(QStringLiteral("convert"), QStringLiteral("File exists"));
    if (!QFileInfo(outputInfo.path()).isDir())
        return failed(QStringLiteral("convert"), QStringLiteral("No such file or directory"));
    if (!fitsOnto(outputInfo.path(), size))
        return failed(QStringLiteral("convert"), QStringLiteral("No space left on device"));

    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!ToolSupport::makeSparseFile(output, 0, &error))
        return failed(QStringLiteral("convert"), error);

    printPaced("Reading Protective Master Boot Record (MBR : 0)…\n", quiet, 50);
    printPaced("Reading GPT Header (Primary GPT Header : 1)…\n", quiet, 50);
    printPaced("Reading GPT Partition Data (Primary GPT Table : 2)…\n", quiet, 50);
    printPaced("Reading  (Apple_Free : 3)…\n", quiet, 50);
    // An image made from a folder has no EFI partition; the backup GPT is read last.
    printPaced("Reading disk image (Apple_HFS : 4)…\n", quiet, 50);
    for (int i = 0; i < 10; ++i)
        printPaced(".....", quiet, 110);
    printPaced("\n", quiet);
    printPaced("Reading  (Apple_Free : 5)…\n", quiet, 50);
    printPaced("Reading GPT Partition Data (Backup GPT Table : 6)…\n", quiet, 50);
    printPaced("..................................................\n", quiet, 50);
    printPaced("Reading GPT Header (Backup GPT Header : 7)…\n", quiet, 50);
    printPaced("..................................................\n", quiet, 50);

    std::optional<QString> id;
    if (ToolSupport::makeSparseFile(output, size, &error))
        id = HdiutilImages::giveIdentity(output, &error);
    if (!id || !copyContent(world, image->id, *id, &error)) {
        QFile::remove(output);
        return failed(QStringLiteral("convert"), error);
    }
    HdiutilImages::record(world, output,
                          {image->volumeName, image->filesystem, format.toUpper(), *id});

    const double seconds = std::max<qint64>(timer.elapsed(), 1) / 1000.0;
    printPaced(QStringLiteral("Elapsed Time: %1s\nSpeed: %2MB/s\nSavings: 0.0%\n")
                   .arg(seconds, 0, 'f', 3)
                   .arg(double(size) / 1048576.0 / seconds, 0, 'f', 1)
                   .toUtf8(),
               quiet);
    printPaced("created: " + ToolSupport::echoedPath(given).toUtf8() + '\n', quiet);
    return 0;
}

} // namespace

int runHdiutil(const World &world, const QStringList &args)
{
    ToolSupport::logArguments(world, QStringLiteral("hdiutil.log"),
                              QStringList{QStringLiteral("hdiutil")} + args);
    if (args.isEmpty())
        return usage();
    const QString verb = args.first();
    const QStringList rest = args.mid(1);
    if (verb == QLatin1String("create"))
        return create(world, rest);
    if (verb == QLatin1String("attach") || verb == QLatin1String("mount"))
        return attach(world, rest);
    if (verb == QLatin1String("detach") || verb == QLatin1String("eject"))
        return detach(world, rest);
    if (verb == QLatin1String("convert"))
        return convert(world, rest);
    if (verb == QLatin1String("help") || verb == QLatin1String("-help")) {
        usage();
        return 0;
    }
    writeErr("hdiutil: unknown verb \"" + verb.toUtf8() + "\"\n");
    return usage();
}
