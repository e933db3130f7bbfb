// diskutil: list, info and eject over the world's disks.
//
// A mounted volume under /Volumes is a folder in the world. Eject deletes those folders and drops
// the disk from disks.json. To make a volume busy, as when a program holds a file on it open, put
// a file named .standin-busy in its folder: eject then refuses as the real tool does when an
// unmount is dissented.
//
// Every invocation appends its argv as one JSON array line to var/standin/diskutil.log:
//   ["diskutil", "eject", "disk4"]
#include "Plist.h"
#include "World.h"
#include "tools/DiskutilDisks.h"
#include "tools/PackageToolSupport.h"
#include "tools/Tools.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <utility>

namespace {

using DiskutilDisks::Found;

const QString busyMarker = QStringLiteral(".standin-busy");

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

int fail(const QString &message)
{
    QTextStream(stderr) << message << '\n';
    return 1;
}

int couldNotFind(const QString &argument)
{
    return fail(QStringLiteral("Could not find disk: ") + argument);
}

QString humanSize(double bytes)
{
    static const char *const units[] = {"B", "KB", "MB", "GB", "TB", "PB"};
    int unit = 0;
    while (bytes >= 1000 && unit < 5) {
        bytes /= 1000;
        ++unit;
    }
    if (unit == 0)
        return QStringLiteral("%1 B").arg(qint64(bytes));
    return QString::number(bytes, 'f', 1) + u' ' + QLatin1String(units[unit]);
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

// The number after the last "s" of "disk4s2"; 0 for a whole disk.
QString sliceNumber(const QString &identifier)
{
    const qsizetype s = identifier.lastIndexOf(u's');
    return s > 4 ? identifier.mid(s + 1) : QStringLiteral("0");
}

bool isSynthesized(const QJsonObject &disk)
{
    return disk.contains(u"APFSVolumes") || disk.contains(u"APFSPhysicalStores");
}

QString containerOn(const QJsonArray &disks, const QString &physicalStore)
{
    for (const QJsonValue &value : disks) {
        const QJsonObject disk = value.toObject();
        for (const QJsonValue &store : disk.value(u"APFSPhysicalStores").toArray()) {
            if (store.toObject().value(u"DeviceIdentifier").toString() == physicalStore)
                return disk.value(u"DeviceIdentifier").toString();
        }
    }
    return {};
}

QString listRow(const QString &number, const QString &type, const QString &name,
                const QString &size, const QString &identifier)
{
    return QStringLiteral("%1: %2 %3 %4   %5\n")
        .arg(number.rightJustified(4), type.rightJustified(26), name.leftJustified(23),
             size.rightJustified(10), identifier);
}

QString humanList(const QJsonArray &disks, const QJsonArray &shown)
{
    QString text;
    for (const QJsonValue &value : shown) {
        const QJsonObject disk = value.toObject();
        const QJsonObject device = disk.value(u"Info").toObject();
        const QString identifier = disk.value(u"DeviceIdentifier").toString();
        const bool synthesized = isSynthesized(disk);
        QString kind;
        if (synthesized)
            kind = QStringLiteral("synthesized");
        else if (device.value(u"BusProtocol").toString() == QLatin1String("Disk Image"))
            kind = QStringLiteral("disk image");
        else
            kind = device.value(u"Internal").toBool() ? QStringLiteral("internal, physical")
                                                      : QStringLiteral("external, physical");
        if (!text.isEmpty())
            text += u'\n';
        text += QStringLiteral("/dev/%1 (%2):\n").arg(identifier, kind);
        text += listRow(QStringLiteral("#"), QStringLiteral("TYPE"), QStringLiteral("NAME"),
                        QStringLiteral("SIZE      "), QStringLiteral("IDENTIFIER"));
        const QString size = humanSize(disk.value(u"Size").toDouble());
        if (synthesized) {
            text += listRow(QStringLiteral("0"), QStringLiteral("APFS Container Scheme -"),
                            QString(), u'+' + size, identifier);
            for (const QJsonValue &store : disk.value(u"APFSPhysicalStores").toArray())
                text += QString(33, u' ') + QStringLiteral("Physical Store ") +
                        store.toObject().value(u"DeviceIdentifier").toString() + u'\n';
        } else {
            text += listRow(QStringLiteral("0"), disk.value(u"Content").toString(), QString(),
                            u'*' + size, identifier);
        }
        for (const QJsonValue &sliceValue : DiskutilDisks::slices(disk)) {
            const QJsonObject slice = sliceValue.toObject();
            const QString sliceId = slice.value(u"DeviceIdentifier").toString();
            QString type = slice.value(u"Content").toString();
            QString name = slice.value(u"VolumeName").toString();
            double bytes = slice.value(u"Size").toDouble();
            if (synthesized) {
                type = QStringLiteral("APFS Volume");
                bytes = slice.value(u"CapacityInUse").toDouble(bytes);
            } else if (type == QLatin1String("Apple_APFS")) {
                name = QStringLiteral("Container ") + containerOn(disks, sliceId);
            }
            text += listRow(sliceNumber(sliceId), type, name, humanSize(bytes), sliceId);
        }
    }
    return text;
}

int list(const World &world, const QStringList &args)
{
    bool plist = false;
    std::optional<bool> internal;
    std::optional<bool> physical;
    QString device;
    for (const QString &arg : args) {
        const QString word = arg.toLower();
        if (word == QLatin1String("-plist"))
            plist = true;
        else if (word == QLatin1String("internal") || word == QLatin1String("external"))
            internal = word == QLatin1String("internal");
        else if (word == QLatin1String("physical") || word == QLatin1String("virtual"))
            physical = word == QLatin1String("physical");
        else if (device.isEmpty() && !arg.startsWith(u'-'))
            device = arg;
        else
            return fail(QStringLiteral("Usage:  diskutil list [-plist] [internal | external] "
                                       "[physical | virtual] [MountPoint|DiskIdentifier|"
                                       "DeviceNode]"));
    }

    const QJsonArray disks = world.disks();
    QJsonArray shown;
    if (!device.isEmpty()) {
        const std::optional<Found> found = DiskutilDisks::find(world, disks, device);
        if (!found)
            return couldNotFind(device);
        shown.append(found->disk);
    } else {
        for (const QJsonValue &value : disks) {
            const QJsonObject info = value.toObject().value(u"Info").toObject();
            if (internal && info.value(u"Internal").toBool() != *internal)
                continue;
            const bool isPhysical =
                info.value(u"VirtualOrPhysical").toString() != QLatin1String("Virtual");
            if (physical && isPhysical != *physical)
                continue;
            shown.append(value);
        }
    }

    if (plist)
        writeOut(Plist::fromJson(DiskutilDisks::list(shown), Plist::Format::Xml));
    else
        writeOut(humanList(disks, shown).toUtf8());
    return 0;
}

QString humanInfo(const QJsonObject &info)
{
    QString text;
    const auto line = [&](const QString &label, const QString &value) {
        text += QStringLiteral("   ") + (label + u':').leftJustified(27) + value + u'\n';
    };
    const auto string = [&](const char *key) { return info.value(QLatin1String(key)).toString(); };
    const auto flag = [&](const char *key) { return info.value(QLatin1String(key)).toBool(); };
    const bool whole = flag("WholeDisk");
    const QString mountPoint = string("MountPoint");

    line(QStringLiteral("Device Identifier"), string("DeviceIdentifier"));
    line(QStringLiteral("Device Node"), string("DeviceNode"));
    line(QStringLiteral("Whole"), yesNo(whole));
    line(QStringLiteral("Part of Whole"), string("ParentWholeDisk"));
    if (whole)
        line(QStringLiteral("Device / Media Name"), string("MediaName"));
    text += u'\n';
    if (info.contains(u"VolumeName")) {
        line(QStringLiteral("Volume Name"), string("VolumeName"));
        line(QStringLiteral("Mounted"), yesNo(!mountPoint.isEmpty()));
        if (!mountPoint.isEmpty())
            line(QStringLiteral("Mount Point"), mountPoint);
    } else {
        line(QStringLiteral("Volume Name"), QStringLiteral("Not applicable (no file system)"));
        line(QStringLiteral("Mounted"), QStringLiteral("Not applicable (no file system)"));
    }
    if (info.contains(u"FilesystemUserVisibleName")) {
        text += u'\n';
        line(QStringLiteral("Partition Type"), string("Content"));
        line(QStringLiteral("Name (User Visible)"), string("FilesystemUserVisibleName"));
    }
    text += u'\n';
    line(QStringLiteral("Protocol"), string("BusProtocol"));
    line(QStringLiteral("SMART Status"), string("SMARTStatus"));
    const qint64 size = qint64(info.value(u"Size").toDouble());
    const qint64 blockSize = qint64(info.value(u"DeviceBlockSize").toDouble(512));
    line(QStringLiteral("Disk Size"), QStringLiteral("%1 (%2 Bytes) (exactly %3 %4-Byte-Units)")
                                          .arg(humanSize(double(size)))
                                          .arg(size)
                                          .arg(size / blockSize)
                                          .arg(blockSize));
    line(QStringLiteral("Device Block Size"), QStringLiteral("%1 Bytes").arg(blockSize));
    text += u'\n';
    line(QStringLiteral("Read-Only Media"), yesNo(!flag("WritableMedia")));
    text += u'\n';
    line(QStringLiteral("Device Location"),
         flag("Internal") ? QStringLiteral("Internal") : QStringLiteral("External"));
    line(QStringLiteral("Removable Media"),
         flag("RemovableMedia") ? QStringLiteral("Removable") : QStringLiteral("Fixed"));
    if (flag("RemovableMedia"))
        line(QStringLiteral("Media Removal"), QStringLiteral("Software-Activated"));
    text += u'\n';
    line(QStringLiteral("Solid State"), yesNo(flag("SolidState")));
    line(QStringLiteral("Virtual"), yesNo(string("VirtualOrPhysical") == QLatin1String("Virtual")));
    return text;
}

int info(const World &world, const QStringList &args)
{
    const bool plist = args.value(0) == QLatin1String("-plist");
    const QStringList rest = args.mid(plist ? 1 : 0);
    if (rest.size() != 1)
        return fail(QStringLiteral(
            "Usage:  diskutil info[rmation] [-plist] MountPoint|DiskIdentifier|DeviceNode"));
    const std::optional<Found> found = DiskutilDisks::find(world, world.disks(), rest.first());
    if (!found && plist) {
        // Asked for a property list, diskutil answers even this in one, on standard output.
        writeOut(
            Plist::fromJson(QJsonObject{{QStringLiteral("Error"), true},
                                        {QStringLiteral("ErrorMessage"),
                                         QStringLiteral("Could not find disk: ") + rest.first()},
                                        {QStringLiteral("ExitCode"), 1}},
                            Plist::Format::Xml));
        return 1;
    }
    if (!found)
        return couldNotFind(rest.first());
    const QJsonObject answer = DiskutilDisks::info(*found);
    if (plist)
        writeOut(Plist::fromJson(answer, Plist::Format::Xml));
    else
        writeOut(humanInfo(answer).toUtf8());
    return 0;
}

// The folder a stand-in volume lives in, or nothing for mount points that are not ours to delete.
QString volumeFolder(const World &world, const QString &mountPoint)
{
    const QString prefix = QStringLiteral("/Volumes/");
    const QString name = mountPoint.mid(prefix.size());
    if (!mountPoint.startsWith(prefix) || name.isEmpty() || name.contains(u'/') ||
        name == QLatin1String("..") || name == QLatin1String("."))
        return {};
    return world.hostPath(mountPoint);
}

int eject(const World &world, const QStringList &args)
{
    if (args.size() != 1)
        return fail(QStringLiteral("Usage:  diskutil eject MountPoint|DiskIdentifier|DeviceNode"));
    const QString target = args.first();

    enum class Outcome { Ejected, Unknown, NotEjectable, Busy };
    Outcome outcome = Outcome::Unknown;
    QStringList folders;
    QString error;
    const bool written = world.updateDisks(
        [&](QJsonArray &disks) {
            const std::optional<Found> found = DiskutilDisks::find(world, disks, target);
            if (!found) {
                outcome = Outcome::Unknown;
                return false;
            }
            if (!found->disk.value(u"Info").toObject().value(u"Ejectable").toBool()) {
                outcome = Outcome::NotEjectable;
                return false;
            }
            for (const QString &mountPoint : DiskutilDisks::mountPoints(found->disk)) {
                const QString folder = volumeFolder(world, mountPoint);
                if (folder.isEmpty())
                    continue;
                if (QFileInfo::exists(folder + u'/' + busyMarker)) {
                    outcome = Outcome::Busy;
                    return false;
                }
                folders << folder;
            }
            // A volume's identifier ejects the whole device, as on the real Mac.
            disks.removeAt(found->diskIndex);
            outcome = Outcome::Ejected;
            return true;
        },
        &error);
    if (!written)
        return fail(QStringLiteral("diskutil: ") + error);

    switch (outcome) {
    case Outcome::Unknown:
        return fail(QStringLiteral("Unable to find disk for ") + target);
    case Outcome::NotEjectable:
        return fail(QStringLiteral("Eject of %1 failed: the disk is not ejectable").arg(target));
    case Outcome::Busy:
        // Spotlight indexing the stick is the usual dissenter; diskutil names its parent too.
        return fail(QStringLiteral("Unmount of %1 failed: at least one volume could not be "
                                   "unmounted\nUnmount was dissented by PID 341 "
                                   "(/System/Library/Frameworks/CoreServices.framework/Versions/A/"
                                   "Frameworks/Metadata.framework/Versions/A/Support/mds_stores)\n"
                                   "Dissenter parent PPID 1 (/sbin/launchd)")
                        .arg(target));
    case Outcome::Ejected:
        break;
    }
    for (const QString &folder : std::as_const(folders)) {
        if (QFileInfo(folder).isDir() && !QDir(folder).removeRecursively())
            QTextStream(stderr) << "diskutil: could not remove " << folder << '\n';
    }
    writeOut(QStringLiteral("Disk %1 ejected\n").arg(target).toUtf8());
    return 0;
}

int usage()
{
    QTextStream(stdout) << "Disk Utility Tool\n"
                           "Utility to manage local disks and volumes\n"
                           "Most commands require an administrator or root user\n"
                           "\n"
                           "Usage:  diskutil [quiet] <verb> <options>, where <verb> is as "
                           "follows:\n"
                           "\n"
                           "     list                 (List the partitions of a disk)\n"
                           "     info[rmation]        (Get information on a specific disk or "
                           "partition)\n"
                           "     eject                (Eject a disk)\n"
                           "\n"
                           "diskutil <verb> with no options will provide help on that verb\n";
    return 0;
}

} // namespace

int runDiskutil(const World &world, const QStringList &args)
{
    ToolSupport::logArguments(world, QStringLiteral("diskutil.log"),
                              QStringList{QStringLiteral("diskutil")} + args);
    QStringList rest = args;
    if (!rest.isEmpty() && rest.first().compare(u"quiet", Qt::CaseInsensitive) == 0)
        rest.removeFirst();
    if (rest.isEmpty())
        return usage();

    const QString verb = rest.takeFirst().toLower();
    if (verb == QLatin1String("list"))
        return list(world, rest);
    if (verb == QLatin1String("info") || verb == QLatin1String("information"))
        return info(world, rest);
    if (verb == QLatin1String("eject"))
        return eject(world, rest);
    return fail(QStringLiteral("diskutil: did not recognize verb \"%1\"; type \"diskutil\" for a "
                               "list")
                    .arg(args.value(args.size() - rest.size() - 1)));
}
