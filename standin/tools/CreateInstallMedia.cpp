// createinstallmedia: turns one of the world's volumes into install media for the installer it
// belongs to - the bundle the tool's link lies in, or the one --applicationpath names.
//
// It refuses what the real tool refuses, with its wording, then prints the real tool's progress in
// the pieces that tool prints it (partial lines, each flushed) with pauses in between, about 3.5 s
// in all. TESSALINE_STANDIN_SPEED scales those pauses: 1 is the default pace, 0.1 a tenth of it,
// 0 none at all.
//
// The volume's folder is emptied, the volume renamed after the installer ("Install macOS Sequoia",
// or "Install macOS Sequoia 1" when that name is taken) and given a small copy of the installer:
// its Info.plist, PkgInfo and icon, none of its payload. A file .standin-createinstallmedia in the
// volume tells tests which installer was written:
//   {"installer": "/Applications/Install macOS Sequoia.app", "name": "Install macOS Sequoia",
//    "era": "modern"}
// Every invocation appends its argument vector, argv[0] first, to
// var/standin/createinstallmedia.log as a JSON array on one line.
#include "World.h"
#include "tools/Administrator.h"
#include "tools/CreateInstallMediaInstaller.h"
#include "tools/DiskutilDisks.h"
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

int fail(const QString &message)
{
    QTextStream(stderr) << message;
    return 1;
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

// Only a volume mounted straight under /Volumes is one the tool may erase: anything else is the
// Mac's own disk, and its folder would be the world itself.
bool isErasableMountPoint(const QString &mountPoint)
{
    const QString name = mountPoint.mid(volumesFolder.size());
    return mountPoint.startsWith(volumesFolder) && !name.isEmpty() && !name.contains(u'/') &&
           name != QLatin1String(".") && name != QLatin1String("..");
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
            if (!isErasableMountPoint(mountPoint) ||
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

// Whether to go on, asked as the real tool asks when not told --nointeraction.
bool confirmed(const QString &volume)
{
    writeOut(QStringLiteral("Ready to start.\nTo continue we need to erase the volume at %1.\nIf "
                            "you wish to continue type (Y) then press return: ")
                 .arg(volume)
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

enum class Effect { None, Erase, Rename, Copy, Finish, Announce };

struct Step {
    const char *text;
    int pauseMs;
    Effect effect = Effect::None;
};

// Each step's effect happens before its text is printed, its pause after.
QList<Step> stepsOf(Era era)
{
    if (era == Era::Modern) {
        return {
            {"Erasing disk: 0%... ", 200, Effect::Erase},
            {"10%... ", 200},
            {"20%... ", 200},
            {"30%... ", 200},
            {"100%\n", 100, Effect::Rename},
            {"Making disk bootable...\n", 500},
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
            {nullptr, 0, Effect::Announce},
        };
    }
    // El Capitan's tool left out the space after 30%; later ones added it.
    const char *thirty = era == Era::OsX ? "30%..." : "30%... ";
    return {
        {"Erasing Disk: 0%... ", 200, Effect::Erase},
        {"10%... ", 200},
        {"20%... ", 200},
        {thirty, 300},
        {"100%...\n", 200, Effect::Rename},
        {"Copying installer files to disk...\n", 1200},
        {"Copy complete.\n", 200, Effect::Copy},
        {"Making disk bootable...\n", 300},
        {"Copying boot files...\n", 400},
        {"Copy complete.\n", 100, Effect::Finish},
        {"Done.\n", 0},
    };
}

class Conversion {
public:
    Conversion(const World &world, const Installer &installer, const Volume &volume)
        : m_world(world), m_installer(installer), m_volume(volume)
    {
    }

    int run()
    {
        const double factor = pauseFactor();
        for (const Step &step : stepsOf(m_installer.era)) {
            QString error;
            if (!apply(step.effect, &error))
                return fail(QStringLiteral("\ncreateinstallmedia: %1\n").arg(error));
            if (step.effect == Effect::Announce)
                writeOut(QStringLiteral("Install media now available at \"%1\"\n")
                             .arg(m_volume.mountPoint)
                             .toUtf8());
            else
                writeOut(step.text);
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
                if (newFolder != oldFolder && !QDir().rename(oldFolder, newFolder)) {
                    failure = QStringLiteral("could not rename %1 to %2").arg(oldFolder, newFolder);
                    newFolder.clear();
                    return false;
                }
                disks.replace(found->diskIndex, disk);
                return true;
            },
            error);
        if (!written || !failure.isEmpty()) {
            if (!newFolder.isEmpty() && newFolder != oldFolder)
                QDir().rename(newFolder, oldFolder);
            if (!failure.isEmpty())
                *error = failure;
            return false;
        }
        m_volume.mountPoint = newMountPoint;
        return true;
    }

    bool copyFile(const QString &relative, QString *error) const
    {
        const QString source = m_installer.bundlePath + u'/' + relative;
        if (!QFileInfo(source).isFile())
            return true;
        const QString target =
            folder() + u'/' + QFileInfo(m_installer.bundlePath).fileName() + u'/' + relative;
        QDir().mkpath(QFileInfo(target).path());
        QFile::remove(target);
        if (!QFile::copy(source, target)) {
            *error = QStringLiteral("could not copy %1").arg(source);
            return false;
        }
        return true;
    }

    bool copyInstaller(QString *error) const
    {
        if (!copyFile(QStringLiteral("Contents/Info.plist"), error) ||
            !copyFile(QStringLiteral("Contents/PkgInfo"), error))
            return false;
        return m_installer.iconFile.isEmpty() ||
               copyFile(QStringLiteral("Contents/Resources/") + m_installer.iconFile, error);
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
};

QString gigabytes(qint64 bytes)
{
    // Rounded up, so that adding what it says is always enough.
    return QString::number(std::ceil(double(bytes) / 1e7) / 100, 'f', 2);
}

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
    const qint64 needed = installer->size + sizeMargin;
    if (volume->size < needed)
        return fail(QStringLiteral("%1 is not large enough for install media. An additional %2 "
                                   "GB is needed.\n")
                        .arg(options->volume, gigabytes(needed - volume->size)));

    if (!options->noInteraction && !confirmed(options->volume))
        return 1;
    return Conversion(world, *installer, *volume).run();
}
