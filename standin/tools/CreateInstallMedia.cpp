// createinstallmedia: turns one of the world's volumes into install media for the installer it
// belongs to - the bundle the tool's link lies in, or the one --applicationpath names.
//
// It refuses what the real tool refuses, with its wording, then prints the real tool's progress in
// the pieces that tool prints it (partial lines, each flushed) with pauses in between, about 3.5 s
// in all. TESSALINE_STANDIN_SPEED scales those pauses: 1 is the default pace, 0.1 a tenth of it,
// 0 none at all.
//
// The volume's folder is emptied, the volume renamed after the installer ("Install macOS Sequoia",
// or "Install macOS Sequoia 1" when that name is taken) and mounted anew at /Volumes/NAME, as the
// system mounts an erased volume, and given a copy of the whole installer bundle, the same files
// at the same sizes and links to the same targets; the payload stays sparse, so copying it takes a
// moment. A volume that was mounted elsewhere (an image attached with hdiutil's -mountpoint)
// leaves its old folder behind, empty, as the system leaves a mount point it did not choose. A
// file .standin-createinstallmedia in the volume tells tests which installer was written:
//   {"installer": "/Applications/Install macOS Sequoia.app", "name": "Install macOS Sequoia",
//    "era": "modern"}
// var/standin/createinstallmedia.json makes a run go wrong. {"fail": KIND} fails it with the real
// tool's words and status: "apfs", "erase", "copy", "bless" or "too-small". {"damage": KIND} lets
// it succeed, printing the same, but spoils the copy right after it is made, silently, as failing
// flash memory would:
//   "missing"  the copy's Contents/PkgInfo is gone
//   "size"     its Contents/MacOS/InstallAssistant_springboard has a line more
//   "payload"  the byte halfway through its payload is changed, the size kept: 0 becomes 1, any
//              other 0 (Contents/SharedSupport/SharedSupport.dmg, or InstallESD.dmg beside it in
//              older installers)
//   "link"     its Contents/Resources/createinstallmedia links to /usr/bin/false
// A kind it cannot do (an unknown one, or a payload of no bytes) fails the run with status 1.
// Every invocation appends its argument vector, argv[0] first, to
// var/standin/createinstallmedia.log as a JSON array on one line.
#include "World.h"
#include "tools/Administrator.h"
#include "tools/CreateInstallMediaInstaller.h"
#include "tools/DiskutilDisks.h"
#include "tools/FileTree.h"
#include "tools/Tools.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QUuid>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <optional>
#include <thread>

namespace {

using CreateInstallMedia::Era;
using CreateInstallMedia::Installer;

const char usageText[] =
    "Usage: createinstallmedia --volume <path to volume to convert>\n"
    "\n"
    "Arguments\n"
    "--volume, A path to a volume that can be unmounted and erased to create the install media.\n"
    "--applicationpath, A path to copy of the OS installer application to create the install "
    "media.\n"
    "--nointeraction, Erase the disk pointed to by volume without prompting for confirmation.\n"
    "--downloadassets, Download on-demand assets that may be required for installation.\n"
    "\n"
    "Example: createinstallmedia --volume /Volumes/Untitled\n"
    "\n"
    "This tool must be run as root.\n";

const QString markerName = QStringLiteral(".standin-createinstallmedia");
const QString volumesFolder = QStringLiteral("/Volumes/");

// Room for the boot files and the file system's own bookkeeping.
constexpr qint64 sizeMargin = 1'000'000'000;

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

int fail(const QString &message, int status = 1)
{
    QTextStream(stderr) << message;
    return status;
}

void print(bool toError, const QByteArray &bytes)
{
    FILE *stream = toError ? stderr : stdout;
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

void record(const World &world, const QStringList &argv)
{
    QDir().mkpath(world.stateFolder());
    QFile file(world.stateFolder() + QStringLiteral("/createinstallmedia.log"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    // One write per line, so that runs side by side do not interleave.
    file.write(QJsonDocument(QJsonArray::fromStringList(argv)).toJson(QJsonDocument::Compact) +
               '\n');
}

struct Options {
    QString volume;
    QString applicationPath;
    bool noInteraction = false;
};

std::optional<Options> parse(const QStringList &args)
{
    Options options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--volume") || arg == QLatin1String("--applicationpath")) {
            if (i + 1 == args.size())
                return std::nullopt;
            (arg == QLatin1String("--volume") ? options.volume : options.applicationPath) =
                args.at(++i);
        } else if (arg == QLatin1String("--nointeraction")) {
            options.noInteraction = true;
        } else if (arg != QLatin1String("--downloadassets")) {
            // Assets are taken as downloaded already; anything else is a mistake.
            return std::nullopt;
        }
    }
    if (options.volume.isEmpty())
        return std::nullopt;
    return options;
}

bool isInside(const QString &path, const QString &folder)
{
    return !folder.isEmpty() && (path == folder || path.startsWith(folder + u'/'));
}

// The folder a path the caller gave names in the world: host paths into the world (also through
// links) stay as they are, anything else is a path on the stand-in Mac.
QString inWorld(const World &world, const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString canonicalRoot = QFileInfo(world.root()).canonicalFilePath();
    if (isInside(absolute, world.root()) || isInside(absolute, canonicalRoot) ||
        isInside(QFileInfo(absolute).canonicalFilePath(), canonicalRoot))
        return absolute;
    return world.hostPath(QDir::cleanPath(path));
}

// A mount point the system chose, straight under /Volumes; it goes when its volume is unmounted.
bool isInVolumesFolder(const QString &mountPoint)
{
    const QString name = mountPoint.mid(volumesFolder.size());
    return mountPoint.startsWith(volumesFolder) && !name.isEmpty() && !name.contains(u'/') &&
           name != QLatin1String(".") && name != QLatin1String("..");
}

// A volume the tool may unmount and erase: any but those of the Mac's own internal disk, whose
// folders are the world itself. One mounted elsewhere than /Volumes (an image attached on a
// folder of its own) is erased as well.
bool isErasable(const QJsonObject &disk, const QString &mountPoint)
{
    return !disk.value(u"Info").toObject().value(u"Internal").toBool() &&
           mountPoint.startsWith(u'/') && mountPoint != QLatin1String("/") &&
           QDir::cleanPath(mountPoint) == mountPoint;
}

struct Volume {
    QString identifier;
    QString mountPoint;
    qint64 size = 0;
};

std::optional<Volume> findVolume(const World &world, const QString &given)
{
    const QString folder = QFileInfo(inWorld(world, given)).canonicalFilePath();
    if (folder.isEmpty())
        return std::nullopt;
    for (const QJsonValue &diskValue : world.disks()) {
        const QJsonObject disk = diskValue.toObject();
        for (const QJsonValue &sliceValue : DiskutilDisks::slices(disk)) {
            const QJsonObject slice = sliceValue.toObject();
            const QString mountPoint = slice.value(u"MountPoint").toString();
            if (!isErasable(disk, mountPoint) ||
                QFileInfo(world.hostPath(mountPoint)).canonicalFilePath() != folder)
                continue;
            // Read-only media cannot be unmounted and erased.
            if (!disk.value(u"Info").toObject().value(u"WritableMedia").toBool())
                return std::nullopt;
            return Volume{slice.value(u"DeviceIdentifier").toString(), mountPoint,
                          qint64(slice.value(u"Size").toDouble())};
        }
    }
    return std::nullopt;
}

// The installer the tool was started from, unless the caller named another.
std::optional<Installer> findInstaller(const World &world, const Options &options, QString *tried)
{
    QString bundle;
    if (!options.applicationPath.isEmpty()) {
        *tried = options.applicationPath;
        bundle = inWorld(world, options.applicationPath);
    } else {
        *tried = QCoreApplication::arguments().value(0);
        bundle = CreateInstallMedia::bundleContaining(*tried);
    }
    if (bundle.isEmpty())
        return std::nullopt;
    return CreateInstallMedia::readInstaller(bundle);
}

// Whether to go on, asked as the real tool asks when not told --nointeraction. The tools of
// El Capitan and Sierra said "disk" where later ones say "volume".
bool confirmed(const Installer &installer, const QString &volume)
{
    const bool saysDisk = installer.name.contains(u"El Capitan") ||
                          (installer.name.contains(u"Sierra") && !installer.name.contains(u"High"));
    writeOut(QStringLiteral("Ready to start.\nTo continue we need to erase the %1 at %2.\nIf "
                            "you wish to continue type (Y) then press return: ")
                 .arg(saysDisk ? u"disk" : u"volume", volume)
                 .toUtf8());
    QTextStream input(stdin);
    const QString answer = input.readLine().trimmed();
    return answer.compare(u"Y", Qt::CaseInsensitive) == 0;
}

double pauseFactor()
{
    bool ok = false;
    const double factor = qEnvironmentVariable("TESSALINE_STANDIN_SPEED").toDouble(&ok);
    return ok && factor >= 0 && std::isfinite(factor) ? factor : 1.0;
}

// Holds termination back while the volume's record and its folder change together; a signal that
// arrives meanwhile takes effect once both are done.
class TerminationHeld {
public:
    TerminationHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
            sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &m_previous);
    }
    ~TerminationHeld() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    TerminationHeld(const TerminationHeld &) = delete;
    TerminationHeld &operator=(const TerminationHeld &) = delete;

private:
    sigset_t m_previous;
};

enum class Effect { None, Erase, Rename, Copy, Bootable, Finish, Announce };

struct Step {
    const char *text;
    int pauseMs;
    Effect effect = Effect::None;
    // From Mojave on, erasing and every error go to standard error.
    bool toError = false;
};

// How the tool's output looks, which changed more often than the installer's layout did.
enum class Printed {
    upToHighSierra, // everything on standard output, "Copy complete." and "Done."
    mojaveCatalina, // the streams split; "Copying boot files..." after making the disk bootable
    bigSur,         // no boot files any more
    monterey,       // the disk made bootable before the copy
    venturaOn,      // essential files and the RecoveryOS copied first
};

Printed printedOf(const Installer &installer)
{
    const struct {
        const char *word;
        Printed printed;
    } words[] = {
        {"Mojave", Printed::mojaveCatalina},
        {"Catalina", Printed::mojaveCatalina},
        {"Big Sur", Printed::bigSur},
        {"Monterey", Printed::monterey},
    };
    for (const auto &word : words)
        if (installer.name.contains(QLatin1String(word.word), Qt::CaseInsensitive))
            return word.printed;
    return installer.era == Era::Modern ? Printed::venturaOn : Printed::upToHighSierra;
}

QList<Step> copySteps()
{
    return {
        {"Copying to disk: 0%... ", 200},
        {"10%... ", 200},
        {"20%... ", 200},
        {"30%... ", 200},
        {"40%... ", 200},
        {"50%... ", 200, Effect::Copy},
        {"60%... ", 200},
        {"70%... ", 200},
        {"80%... ", 200},
        {"90%... ", 200},
        {"100%\n", 100, Effect::Finish},
    };
}

// Each step's effect happens before its text is printed, its pause after.
QList<Step> stepsOf(const Installer &installer)
{
    const Printed printed = printedOf(installer);
    if (printed == Printed::upToHighSierra) {
        // These tools left out the space after 30%.
        return {
            {"Erasing Disk: 0%... ", 200, Effect::Erase},
            {"10%... ", 200},
            {"20%... ", 200},
            {"30%...", 300},
            {"100%...\n", 200, Effect::Rename},
            {"Copying installer files to disk...\n", 1200},
            {"Copy complete.\n", 200, Effect::Copy},
            {"Making disk bootable...\n", 300, Effect::Bootable},
            {"Copying boot files...\n", 400},
            {"Copy complete.\n", 100, Effect::Finish},
            {"Done.\n", 0},
        };
    }
    QList<Step> steps{
        {"Erasing disk: 0%... ", 200, Effect::Erase, true},
        {"10%... ", 200, Effect::None, true},
        {"20%... ", 200, Effect::None, true},
        {"30%... ", 200, Effect::None, true},
        {"100%\n", 100, Effect::Rename, true},
    };
    const Step bootable{"Making disk bootable...\n", 500, Effect::Bootable};
    if (printed == Printed::venturaOn)
        steps << Step{"Copying essential files...\n", 300}
              << Step{"Copying the macOS RecoveryOS...\n", 300};
    if (printed == Printed::venturaOn || printed == Printed::monterey)
        steps << bootable << copySteps();
    else
        steps << copySteps() << bootable;
    if (printed == Printed::mojaveCatalina)
        steps << Step{"Copying boot files...\n", 300};
    steps << Step{nullptr, 0, Effect::Announce};
    return steps;
}

// A failure a world asks for in createinstallmedia.json ({"fail": KIND}), with the real tool's
// words and status; it comes before the step that has `at`, or right after it with `after`.
struct Failure {
    Effect at;
    bool after;
    int status;
    QList<std::pair<bool, QString>> lines; // (to standard error, text)
};

std::optional<Failure> failureOf(const QString &kind, const QString &installerName)
{
    if (kind == u"apfs")
        return Failure{Effect::Erase,
                       false,
                       252,
                       {{true, "APFS disks may not be used as bootable install media.\n"
                               "An error occurred erasing the disk.\n"}}};
    if (kind == u"erase")
        return Failure{Effect::Erase,
                       true,
                       252,
                       {{true, "10%...\nError erasing disk error number (-69888, 0)\n"
                               "An error occurred erasing the disk.\n"}}};
    if (kind == u"copy")
        return Failure{
            Effect::Copy,
            false,
            251,
            {{true, "\nIA app name cookie write failed\nThe copy of the installer app failed.\n"}}};
    if (kind == u"bless") {
        // By then the volume bears the installer's name.
        const QString app =
            volumesFolder + installerName + u'/' + installerName + QStringLiteral(".app");
        return Failure{
            Effect::Bootable,
            true,
            250,
            {{true, "2021-02-21 23:36:23.572 createinstallmedia[4521:138308] There was an error "
                    "parsing the Info.plist for the bundle at URL <0x7f8b2caae190>: "
                    "NSCocoaErrorDomain - 3840\n"},
             {false, "Couldn't find InstallInfo.plist\n"},
             {true, QStringLiteral("Couldn't mount dmg %1/Contents/SharedSupport/SharedSupport.dmg "
                                   "(error code 110)The bless of the installer disk failed.\n")
                        .arg(app)}}};
    }
    return std::nullopt;
}

// The installer's disk image, which the copy has to carry whole.
QString payloadOf(const QString &contents)
{
    for (const char *name : {"SharedSupport/SharedSupport.dmg", "SharedSupport/InstallESD.dmg"}) {
        const QFileInfo payload(contents + QLatin1String(name));
        // Never a link: the damage must stay on the volume.
        if (payload.isFile() && !payload.isSymLink())
            return payload.filePath();
    }
    return {};
}

bool appendLine(const QString &path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::WriteOnly | QIODevice::Append) &&
           file.write("# one line more\n") > 0;
}

bool changeMiddleByte(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadWrite) || file.size() == 0)
        return false;
    const qint64 middle = file.size() / 2;
    char byte = 0;
    return file.seek(middle) && file.getChar(&byte) && file.seek(middle) &&
           file.putChar(byte == 0 ? 1 : 0);
}

bool relink(const QString &link, const QString &target)
{
    return QFileInfo(link).isSymLink() && QFile::remove(link) && QFile::link(target, link);
}

// Spoils the copy at `app` as createinstallmedia.json's "damage" asks. A kind that cannot be done
// fails the run, so that no test takes an intact copy for a spoilt one.
bool damage(const QString &kind, const QString &app, QString *error)
{
    if (kind.isEmpty())
        return true;
    const QString contents = app + QStringLiteral("/Contents/");
    bool done = false;
    if (kind == u"missing")
        done = QFile::remove(contents + QStringLiteral("PkgInfo"));
    else if (kind == u"size")
        done = appendLine(contents + QStringLiteral("MacOS/InstallAssistant_springboard"));
    else if (kind == u"payload")
        done = changeMiddleByte(payloadOf(contents));
    else if (kind == u"link")
        done = relink(contents + QStringLiteral("Resources/createinstallmedia"),
                      QStringLiteral("/usr/bin/false"));
    if (!done)
        *error = QStringLiteral("cannot damage the copy as \"%1\" asks").arg(kind);
    return done;
}

// "54.5 MB", "1.2 GB": decimal units with one decimal, rounded up so that it is always enough.
QString shortfall(qint64 bytes)
{
    const bool inGigabytes = bytes >= 1'000'000'000;
    const double units = double(bytes) / (inGigabytes ? 1e9 : 1e6);
    return QString::number(std::ceil(units * 10) / 10, 'f', 1) +
           (inGigabytes ? QStringLiteral(" GB") : QStringLiteral(" MB"));
}

class Conversion {
public:
    Conversion(const World &world, const Installer &installer, const Volume &volume,
               const QString &damage)
        : m_world(world), m_installer(installer), m_volume(volume), m_damage(damage)
    {
    }

    int run(const std::optional<Failure> &failure)
    {
        const double factor = pauseFactor();
        const bool split = printedOf(m_installer) != Printed::upToHighSierra;
        const auto failNow = [&] {
            for (const auto &[toError, text] : failure->lines)
                print(split && toError, text.toUtf8());
            return failure->status;
        };
        for (const Step &step : stepsOf(m_installer)) {
            if (failure && !failure->after && step.effect == failure->at)
                return failNow();
            QString error;
            if (!apply(step.effect, &error))
                return fail(QStringLiteral("\ncreateinstallmedia: %1\n").arg(error));
            if (step.effect == Effect::Announce)
                writeOut(QStringLiteral("Install media now available at \"%1\"\n")
                             .arg(m_volume.mountPoint)
                             .toUtf8());
            else
                print(step.toError, step.text);
            if (failure && failure->after && step.effect == failure->at)
                return failNow();
            if (factor > 0 && step.pauseMs > 0)
                std::this_thread::sleep_for(
                    std::chrono::duration<double, std::milli>(step.pauseMs * factor));
        }
        return 0;
    }

private:
    QString folder() const { return m_world.hostPath(m_volume.mountPoint); }

    bool apply(Effect effect, QString *error)
    {
        switch (effect) {
        case Effect::Erase:
            return erase(error);
        case Effect::Rename:
            return rename(error);
        case Effect::Copy:
            return copyInstaller(error);
        case Effect::Finish:
            return writeMarker(error);
        case Effect::None:
        case Effect::Bootable:
        case Effect::Announce:
            break;
        }
        return true;
    }

    bool erase(QString *error)
    {
        const QFileInfoList entries = QDir(folder()).entryInfoList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        for (const QFileInfo &entry : entries) {
            // Links are removed, never followed out of the volume.
            const bool removed = entry.isDir() && !entry.isSymLink()
                                     ? QDir(entry.filePath()).removeRecursively()
                                     : QFile::remove(entry.filePath());
            if (!removed) {
                *error = QStringLiteral("could not erase %1").arg(entry.filePath());
                return false;
            }
        }
        return true;
    }

    // The installer's name, numbered as macOS numbers a second volume of the same name.
    QString freeName(const QJsonArray &disks) const
    {
        QStringList taken;
        for (const QJsonValue &disk : disks)
            taken << DiskutilDisks::mountPoints(disk.toObject());
        for (int number = 0;; ++number) {
            const QString name = number == 0 ? m_installer.name
                                             : QStringLiteral("%1 %2").arg(m_installer.name,
                                                                           QString::number(number));
            const QString mountPoint = volumesFolder + name;
            if (mountPoint == m_volume.mountPoint)
                return name;
            const QFileInfo existing(m_world.hostPath(mountPoint));
            if (!taken.contains(mountPoint) && !existing.exists() && !existing.isSymLink())
                return name;
        }
    }

    QJsonObject erasedSlice(QJsonObject slice, const QString &name, bool partition) const
    {
        slice.insert(QStringLiteral("VolumeName"), name);
        slice.insert(QStringLiteral("MountPoint"), volumesFolder + name);
        slice.insert(QStringLiteral("VolumeUUID"),
                     QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
        // The tool always erases to Mac OS Extended (Journaled).
        if (partition)
            slice.insert(QStringLiteral("Content"), QStringLiteral("Apple_HFS"));
        QJsonObject info = slice.value(u"Info").toObject();
        const QString fileSystem = QStringLiteral("Mac OS Extended (Journaled)");
        info.insert(QStringLiteral("FilesystemName"), fileSystem);
        info.insert(QStringLiteral("FilesystemType"), QStringLiteral("hfs"));
        info.insert(QStringLiteral("FilesystemUserVisibleName"), fileSystem);
        info.insert(QStringLiteral("FreeSpace"), qMax<qint64>(0, m_volume.size - m_installer.size));
        info.insert(QStringLiteral("WritableVolume"), true);
        slice.insert(QStringLiteral("Info"), info);
        return slice;
    }

    // Replaces the volume's entry in `disk`; false when the disk no longer has it.
    bool renameIn(QJsonObject &disk, const QString &name) const
    {
        for (const char *key : {"Partitions", "APFSVolumes"}) {
            QJsonArray slices = disk.value(QLatin1String(key)).toArray();
            for (qsizetype i = 0; i < slices.size(); ++i) {
                const QJsonObject slice = slices.at(i).toObject();
                if (slice.value(u"DeviceIdentifier").toString() != m_volume.identifier)
                    continue;
                slices.replace(i, erasedSlice(slice, name, qstrcmp(key, "Partitions") == 0));
                disk.insert(QLatin1String(key), slices);
                return true;
            }
        }
        return false;
    }

    bool rename(QString *error)
    {
        const TerminationHeld held;
        const QString oldFolder = folder();
        // The erased volume is mounted anew under /Volumes by the name it now has: a folder the
        // system chose there goes along, any other stays where it was, empty.
        const bool movesFolder = isInVolumesFolder(m_volume.mountPoint);
        QString newFolder;
        QString newMountPoint;
        QString failure;
        const bool written = m_world.updateDisks(
            [&](QJsonArray &disks) {
                const std::optional<DiskutilDisks::Found> found =
                    DiskutilDisks::byIdentifier(disks, m_volume.identifier);
                if (!found) {
                    failure = QStringLiteral("%1 went away").arg(m_volume.mountPoint);
                    return false;
                }
                const QString name = freeName(disks);
                QJsonObject disk = found->disk;
                if (!renameIn(disk, name)) {
                    failure = QStringLiteral("%1 went away").arg(m_volume.mountPoint);
                    return false;
                }
                newMountPoint = volumesFolder + name;
                newFolder = m_world.hostPath(newMountPoint);
                // Moved before the record is written, so that a failed move leaves both as they
                // were.
                if (newFolder != oldFolder && !(movesFolder ? QDir().rename(oldFolder, newFolder)
                                                            : QDir().mkdir(newFolder))) {
                    failure = QStringLiteral("could not rename %1 to %2").arg(oldFolder, newFolder);
                    newFolder.clear();
                    return false;
                }
                disks.replace(found->diskIndex, disk);
                return true;
            },
            error);
        if (!written || !failure.isEmpty()) {
            if (!newFolder.isEmpty() && newFolder != oldFolder) {
                if (movesFolder)
                    QDir().rename(newFolder, oldFolder);
                else
                    QDir().rmdir(newFolder);
            }
            if (!failure.isEmpty())
                *error = failure;
            return false;
        }
        m_volume.mountPoint = newMountPoint;
        return true;
    }

    bool copyInstaller(QString *error) const
    {
        const QString copy = folder() + u'/' + QFileInfo(m_installer.bundlePath).fileName();
        return FileTree::copy(m_installer.bundlePath, copy, error) && damage(m_damage, copy, error);
    }

    bool writeMarker(QString *error) const
    {
        const QJsonObject marker{
            {QStringLiteral("installer"), m_world.macPath(m_installer.bundlePath)},
            {QStringLiteral("name"), m_installer.name},
            {QStringLiteral("era"), CreateInstallMedia::eraName(m_installer.era)},
        };
        QFile file(folder() + u'/' + markerName);
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(marker).toJson()) < 0) {
            *error = QStringLiteral("could not write %1").arg(file.fileName());
            return false;
        }
        return true;
    }

    const World &m_world;
    const Installer m_installer;
    Volume m_volume;
    const QString m_damage;
};

} // namespace

int runCreateInstallMedia(const World &world, const QStringList &args)
{
    record(world, QStringList{QCoreApplication::arguments().value(0)} + args);

    const std::optional<Options> options = parse(args);
    if (!options)
        return fail(QLatin1String(usageText));
    if (!Administrator::isActing(world))
        return fail(QStringLiteral("This tool needs to be run as root.\n"));

    QString installerPath;
    const std::optional<Installer> installer = findInstaller(world, *options, &installerPath);
    if (!installer)
        return fail(QStringLiteral("%1 does not appear to be a valid OS installer application.\n")
                        .arg(installerPath));

    const std::optional<Volume> volume = findVolume(world, options->volume);
    if (!volume)
        return fail(QStringLiteral("%1 is not a valid volume mount point.\n").arg(options->volume));
    const QJsonObject choices = world.readState(QStringLiteral("createinstallmedia"));
    const QString chosen = choices.value(u"fail").toString();
    const qint64 needed = installer->size + sizeMargin;
    if (volume->size < needed || chosen == u"too-small")
        return fail(QStringLiteral("%1 is not large enough for install media. An additional %2 "
                                   "is needed.\n")
                        .arg(options->volume,
                             shortfall(volume->size < needed ? needed - volume->size : 54'500'000)),
                    246);

    if (!options->noInteraction && !confirmed(*installer, options->volume))
        return 1;
    return Conversion(world, *installer, *volume, choices.value(u"damage").toString())
        .run(failureOf(chosen, installer->name));
}
