#include "disk/DiskUtility.h"
#include "model/ShellQuote.h"
#include "propertylist/PropertyList.h"
#include "support/CapturedOutput.h"
#include "support/StandInWorld.h"

#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

using Map = QVariantMap;

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(TESSALINE_FIXTURES "/diskutil/") + name);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Bytes are taken as they are; anything else is written out as an XML property list.
QByteArray plist(const QVariant &top)
{
    if (top.typeId() == QMetaType::QByteArray)
        return top.toByteArray();
    return writePropertyList(top, PropertyListFormat::Xml);
}

// A whole disk whose partitions are given as "identifier=volume name".
QVariantMap wholeDisk(const QString &identifier, const QStringList &volumes)
{
    QVariantList partitions;
    for (const QString &volume : volumes)
        partitions << QVariantMap{{"DeviceIdentifier", volume.section(u'=', 0, 0)},
                                  {"VolumeName", volume.section(u'=', 1)}};
    return {{"DeviceIdentifier", identifier}, {"Partitions", partitions}};
}

QByteArray listing(const QVariantList &disks)
{
    return plist(QVariantMap{{"AllDisksAndPartitions", disks}});
}

QByteArray printing(const QByteArray &text)
{
    return "printf '%s' " + shellQuoted(text).toUtf8();
}

QString volume(const QString &name)
{
    return Host::current().volumesFolder() + u'/' + name;
}

void setVolumes(const QStringList &names)
{
    QDir folder(Host::current().volumesFolder());
    folder.removeRecursively();
    for (const QString &name : names)
        QVERIFY(folder.mkpath(name));
}

bool onMainThread()
{
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// A diskutil that gives fixed answers to fixed argument lists and complains and exits 1, as the
// real one does, for anything else. Every call is logged.
struct ScriptedDiskutil {
    const StandInWorld &world;
    QByteArray cases;

    ScriptedDiskutil &answer(const QString &arguments, const QVariant &output)
    {
        return run(arguments, printing(plist(output)));
    }
    ScriptedDiskutil &run(const QString &arguments, const QByteArray &commands)
    {
        cases += shellQuoted(arguments).toUtf8() + ") " + commands + "\n    exit $?;;\n";
        return *this;
    }
    void install() const
    {
        world.replaceTool("usr/sbin/diskutil",
                          "printf '%s\\n' \"$*\" >> " +
                              shellQuoted(world.path("diskutil.log")).toUtf8() +
                              "\ncase \"$*\" in\n" + cases +
                              "esac\necho \"Could not find disk: $3\" >&2; exit 1");
    }
    QStringList calls() const
    {
        QFile log(world.path("diskutil.log"));
        log.open(QIODevice::ReadOnly);
        return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
};

QVariantMap fixtureInfo(const QString &name)
{
    return readPropertyListDictionary(fixture(name)).value_or(QVariantMap());
}

// The stick's volume as the fixture records it, with `changes` made; an invalid value removes
// its key.
QVariantMap stickVolume(const QVariantMap &changes = {})
{
    QVariantMap info = fixtureInfo("info-disk4s2-usb-volume.plist");
    for (const auto &[key, value] : changes.asKeyValueRange()) {
        if (value.isValid())
            info.insert(key, value);
        else
            info.remove(key);
    }
    return info;
}

// A volume of the fixed USB SSD disk5, mounted in the volumes folder unless told otherwise.
QVariantMap ssdVolume(const QString &identifier, const QString &name, bool mounted = true)
{
    return stickVolume({{"DeviceIdentifier", identifier},
                        {"ParentWholeDisk", "disk5"},
                        {"VolumeName", name},
                        {"MountPoint", mounted ? "/Volumes/" + name : QString()},
                        {"RemovableMedia", false},
                        {"Removable", false},
                        {"VolumeUUID", QVariant()}});
}

// What `diskutil info -plist /` says on an Apple silicon Mac.
const QVariantMap startupVolume{
    {"DeviceIdentifier", "disk3s1s1"},
    {"ParentWholeDisk", "disk3"},
    {"MountPoint", "/"},
    {"APFSPhysicalStores", QVariantList{QVariantMap{{"APFSPhysicalStore", "disk0s2"}}}}};

ScriptedDiskutil &answerUsualDevices(ScriptedDiskutil &&diskutil)
{
    return diskutil.answer("info -plist " + Host::current().root(), startupVolume)
        .answer("info -plist disk4s2", fixture("info-disk4s2-usb-volume.plist"))
        .answer("info -plist disk0s1", stickVolume({{"DeviceIdentifier", "disk0s1"},
                                                    {"ParentWholeDisk", "disk0"},
                                                    {"MountPoint", QString()}}))
        .answer("info -plist disk5s1", ssdVolume("disk5s1", "B"))
        .answer("info -plist disk5s2", ssdVolume("disk5s2", "Ghost", false))
        .answer("info -plist disk5s3", ssdVolume("disk5s3", "A"))
        .answer("info -plist " + volume("UNTITLED"), fixture("info-disk4s2-usb-volume.plist"));
}

// One scan on a background thread, as the application runs it.
struct Scan {
    QStringList reports;
    DiskUtility::DiskListResult result;
    bool completedOnMainThread = true;
    std::atomic_bool done = false;

    QStringList disks() const
    {
        QStringList described;
        for (const DiskInfo &disk : std::get<QList<DiskInfo>>(result))
            described << disk.deviceIdentifier + u' ' + disk.volumeName;
        return described;
    }
};

std::shared_ptr<Scan> scan()
{
    auto scan = std::make_shared<Scan>();
    DiskUtility::getRemovableDisks(
        [scan](const QString &message, double percentage) {
            scan->reports << QStringLiteral("%1 @ %2").arg(message).arg(percentage);
        },
        [scan](const DiskUtility::DiskListResult &result) {
            scan->result = result;
            scan->completedOnMainThread = onMainThread();
            scan->done = true;
        });
    (void)QTest::qWaitFor([&] { return scan->done.load(); }, 20000);
    return scan;
}

const QStringList scanStart{"Starting disk scan @ 5", "Running diskutil command @ 10",
                            "Processing disk information @ 20"};

} // namespace

class DiskUtilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StandInWorld> m_world;
    const StandInWorld &world() const { return *m_world; }
    ScriptedDiskutil diskutil() const { return {world(), {}}; }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init()
    {
        m_world = std::make_unique<StandInWorld>();
        QVERIFY(m_world->isValid());
    }
    void cleanup() { m_world.reset(); }

    // What diskutil's listing gives is used; when it gives nothing, the volumes folder is walked.
    void scanReportsAndRecords_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QStringList>("volumes");
        QTest::addColumn<QString>("reports");
        QTest::addColumn<QStringList>("disks");
        const QString fellBack = "Primary method failed, trying fallback method @ 65|"
                                 "Found 1 volumes to examine @ 70|Checking volume: UNTITLED @ 95|"
                                 "Found removable volume: UNTITLED @ 95|"
                                 "Disk scan complete, found 1 removable disks @ 100";
        const auto fallsBack = [&](const char *name, const QByteArray &list, bool parsed = true) {
            QTest::newRow(name) << list << QStringList{"UNTITLED"}
                                << (parsed ? "Parsing property list data @ 30|" : "") + fellBack
                                << QStringList{"disk4s2 UNTITLED"};
        };
        const QByteArray fixedList =
            shellQuoted(QStringLiteral(TESSALINE_FIXTURES "/diskutil/list.plist")).toUtf8();
        fallsBack("exits non-zero", "cat " + fixedList + "; exit 1", false);
        fallsBack("truncated", "head -c 3000 " + fixedList);
        fallsBack("garbage", "echo 'Usage: diskutil list'");
        fallsBack("nothing at all", "exit 0");
        fallsBack("top level is an array", printing(plist(QVariantList{"disk4"})));
        fallsBack("disks are not dictionaries", printing(listing({"disk4"})));
        fallsBack("30 MB", "head -c 30000000 /dev/zero | tr '\\0' x");
        QTest::newRow("no disk listed")
            << printing(listing({})) << QStringList{"UNTITLED"}
            << "Parsing property list data @ 30|Found 0 disks to examine @ 40|" + fellBack
            << QStringList{"disk4s2 UNTITLED"};
        QTest::newRow(
            "four disks; volumes in partition order, unmounted and internal ones left out")
            << printing(listing({wholeDisk("disk0", {"disk0s1=EFI"}), wholeDisk("disk3", {}),
                                 wholeDisk("disk4", {"disk4s1=EFI", "disk4s2=UNTITLED"}),
                                 wholeDisk("disk5", {"disk5s1=B", "disk5s2=Ghost", "disk5s3=A"})}))
            << QStringList{"UNTITLED", "A", "B"}
            << "Parsing property list data @ 30|Found 4 disks to examine @ 40|"
               "Examining disk: disk0 @ 46.25|Examining disk: disk3 @ 52.5|"
               "Examining disk: disk4 @ 58.75|Processing volume: UNTITLED @ 58.75|"
               "Examining disk: disk5 @ 65|Processing volume: B @ 65|"
               "Processing volume: A @ 65|Disk scan complete, found 3 removable disks @ 100"
            << QStringList{"disk4s2 UNTITLED", "disk5s1 B", "disk5s3 A"};
        QVariantMap oddDisk = wholeDisk("disk5", {});
        oddDisk["Partitions"] = QVariantList{
            QVariantMap{{"DeviceIdentifier", "disk5s1"}, {"VolumeName", 7}}, QVariantMap{},
            QVariantMap{{"DeviceIdentifier", true}, {"VolumeName", "A"}},
            QVariantMap{{"DeviceIdentifier", "../disk5s3"}, {"VolumeName", "A"}},
            QVariantMap{{"DeviceIdentifier", "disk5s1"}, {"VolumeName", "B"}}};
        QVariantMap mixed = wholeDisk("disk4", {"disk4s2=UNTITLED"});
        mixed["Partitions"] = mixed["Partitions"].toList() + QVariantList{"disk4s3"};
        QTest::newRow("entries of the wrong shape are passed over")
            << printing(
                   listing({QVariantMap{}, QVariantMap{{"DeviceIdentifier", 5}}, mixed, oddDisk}))
            << QStringList{"UNTITLED", "A", "B"}
            << "Parsing property list data @ 30|Found 4 disks to examine @ 40|"
               "Examining disk: disk4 @ 58.75|Examining disk: disk5 @ 65|"
               "Processing volume: B @ 65|Disk scan complete, found 1 removable disks @ 100"
            << QStringList{"disk5s1 B"};
    }
    void scanReportsAndRecords()
    {
        QFETCH(QByteArray, list);
        QFETCH(QStringList, volumes);
        QFETCH(QString, reports);
        setVolumes(volumes);
        answerUsualDevices(diskutil()).run("list -plist", list).install();
        const auto result = scan();
        QVERIFY(result->done && !result->completedOnMainThread);
        QCOMPARE(result->reports, scanStart + reports.split(u'|'));
        QTEST(result->disks(), "disks");
        // Mount points are diskutil's, on this host.
        for (const DiskInfo &disk : std::get<QList<DiskInfo>>(result->result))
            QVERIFY(disk.mountPoint == volume(disk.volumeName) && disk.isRemovable);
    }

    // What may be erased, read from the volume's own answer: the fixture's stick, changed.
    void targetRule_data()
    {
        QTest::addColumn<QVariantMap>("changes");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *name, const QVariantMap &changes, const char *reason) {
            QTest::newRow(name) << changes << QString::fromUtf8(reason);
        };
        row("USB stick", {}, "");
        row("fixed external media", {{"RemovableMedia", false}, {"Removable", false}}, "");
        row("card in the built-in reader", {{"Internal", true}, {"BusProtocol", "Secure Digital"}},
            "");
        const char *inside = "it is a disk inside this Mac";
        row("internal disk", {{"Internal", true}, {"RemovableMedia", false}}, inside);
        row("no location", {{"Internal", QVariant()}, {"RemovableMedia", false}}, inside);
        row("location of the wrong type", {{"Internal", "No"}, {"RemovableMedia", false}}, inside);
        row("not mounted", {{"MountPoint", QString()}}, "it is not mounted");
        row("no mount point", {{"MountPoint", QVariant()}}, "it is not mounted");
        row("mounted disk image", {{"BusProtocol", "Disk Image"}}, "it is a disk image");
        const char *virtualDevice = "it is not a physical device";
        row("virtual", {{"VirtualOrPhysical", "Virtual"}}, virtualDevice);
        row("unknown kind", {{"VirtualOrPhysical", "Unknown"}}, virtualDevice);
        row("kind not said", {{"VirtualOrPhysical", QVariant()}}, virtualDevice);
        row("read-only media", {{"WritableMedia", false}}, "it is read-only");
        row("read-only volume", {{"WritableVolume", false}}, "it is read-only");
        row("writability of the wrong type", {{"WritableMedia", "Yes"}}, "it is read-only");
        const char *startup = "it is on the disk this Mac started up from";
        row("on the startup container", {{"ParentWholeDisk", "disk3"}}, startup);
        row("stored on the startup disk",
            {{"APFSPhysicalStores", QVariantList{QVariantMap{{"APFSPhysicalStore", "disk0s3"}}}}},
            startup);
        row("no device", {{"DeviceIdentifier", QVariant()}}, "diskutil does not name its device");
    }
    void targetRule()
    {
        QFETCH(QVariantMap, changes);
        const auto startup = DiskUtility::readStartupDisk(startupVolume);
        QVERIFY(startup);
        QCOMPARE(startup->wholeDisks, (QStringList{"disk3", "disk0"}));
        QTEST(DiskUtility::whyNotTarget(stickVolume(changes), *startup).value_or(QString()),
              "reason");
    }

    void startupDisk_data()
    {
        QTest::addColumn<QVariantMap>("rootInfo");
        QTest::addColumn<QStringList>("wholeDisks");
        QTest::newRow("HFS boot volume on a USB disk")
            << QVariantMap{{"DeviceIdentifier", "disk2s2"}, {"ParentWholeDisk", "disk2"}}
            << QStringList{"disk2"};
        QTest::newRow("identifier only")
            << QVariantMap{{"DeviceIdentifier", "disk2s2"}} << QStringList{"disk2"};
        QTest::newRow("stores of the wrong shape are passed over")
            << QVariantMap{{"ParentWholeDisk", "disk3"},
                           {"APFSPhysicalStores",
                            QVariantList{QVariantMap{{"APFSPhysicalStore", 2}}, "disk0s2"}}}
            << QStringList{"disk3"};
        QTest::newRow("nothing said") << QVariantMap{{"ParentWholeDisk", "$(x)"}} << QStringList();
    }
    void startupDisk()
    {
        QFETCH(QVariantMap, rootInfo);
        QTEST(
            DiskUtility::readStartupDisk(rootInfo).value_or(DiskUtility::StartupDisk{}).wholeDisks,
            "wholeDisks");
    }

    void record()
    {
        const DiskInfo stick = DiskUtility::targetRecord(stickVolume());
        QCOMPARE(stick.mountPoint, volume("UNTITLED"));
        QCOMPARE(stick.volumeName, "UNTITLED");
        QCOMPARE(stick.wholeDiskIdentifier, "disk4");
        QVERIFY(!stick.isFixedExternal && stick.isRemovable);
        QCOMPARE(stick.volumeUuid, "6E3E0B2C-1A2B-4C3D-9E8F-00000000006D");
        QCOMPARE(stick.size, 30660362240);
        QCOMPARE(stick.freeSpace, 30590000000);
        // An APFS volume's free space is its container's; no figure gives zero, never less.
        const DiskInfo apfs =
            DiskUtility::targetRecord(stickVolume({{"FreeSpace", QVariant()},
                                                   {"APFSContainerFree", qint64(7)},
                                                   {"RemovableMedia", false},
                                                   {"TotalSize", qint64(-5)},
                                                   {"VolumeName", QVariant()}}));
        QVERIFY(apfs.freeSpace == 7 && apfs.size == 0 && apfs.isFixedExternal);
        QCOMPARE(apfs.volumeName, "UNTITLED");
    }

    void missingDiskutil()
    {
        world().removeTool("usr/sbin/diskutil");
        const auto result = scan();
        QVERIFY(result->done);
        QCOMPARE(result->reports, scanStart.mid(0, 1));
        const auto *error = std::get_if<DiskUtilityError>(&result->result);
        QVERIFY(error && error->kind == DiskUtilityError::Kind::launchFailed);
        QVERIFY(!error->text.isEmpty());
        QCOMPARE(error->description(), error->text);
        const DiskInfo stick("disk4s2", "UNTITLED", volume("UNTITLED"), 1, 1, true);
        QCOMPARE(DiskUtility::confirmTarget(stick),
                 "Could not check disk4s2 again before erasing: " + error->text +
                     ". Nothing was erased.");
    }

    void protectionStatus_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<bool>("enabled");
        const QByteArray said = "echo 'System Integrity Protection status: ";
        QTest::newRow("enabled") << said + "enabled.'" << true;
        QTest::newRow("disabled") << said + "disabled.'" << false;
        // A custom configuration goes through sudo, which works with any of them.
        QTest::newRow("custom configuration")
            << said + "enabled (Custom Configuration).'; printf '\\tKext Signing: disabled\\n'"
            << true;
        QTest::newRow("unknown, custom configuration")
            << said + "unknown (Custom Configuration).'; printf '\\tKext Signing: disabled\\n'"
            << true;
        QTest::newRow("failing tool is still read")
            << QByteArray("echo 'status: enabled.'; exit 1") << true;
        QTest::newRow("nothing said") << QByteArray("exit 0") << false;
        QTest::newRow("not UTF-8") << QByteArray("printf 'status: disabled \\xff'") << true;
        QTest::newRow("missing") << QByteArray() << true;
    }
    void protectionStatus()
    {
        QFETCH(QByteArray, tool);
        if (tool.isEmpty())
            world().removeTool("usr/bin/csrutil");
        else
            world().replaceTool("usr/bin/csrutil", "[ \"$*\" = status ] || exit 64\n" + tool);
        std::optional<bool> answer;
        bool answeredOnMainThread = false;
        DiskUtility::checkSIPStatus([&](bool enabled) {
            answeredOnMainThread = onMainThread();
            answer = enabled;
        });
        QTRY_VERIFY(answer.has_value());
        QVERIFY(answeredOnMainThread);
        QTEST(*answer, "enabled");
    }

    void sharedSupportEject_data()
    {
        QTest::addColumn<QStringList>("volumes");
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QByteArray>("osascript");
        QTest::addColumn<int>("ejected");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QStringList>("scripts");
        // Runs the "do shell script" it is given, in the world's root folder.
        const QByteArray shell =
            "s=${2#do shell script \\\"}; s=${s%\\\"}\ncd \"$TESSALINE_HOST_ROOT\" "
            "&& bash -c \"$(printf '%s' \"$s\" | sed -e 's/\\\\\\(.\\)/\\1/g')\"";
        const QStringList both{"Shared Support", "Shared Support 1", "UNTITLED"};
        const QStringList eject{"do shell script \"diskutil eject disk5s1\""};
        QTest::newRow("only the exact name")
            << both << "disk5s1" << shell << 1
            << QStringList{"Successfully ejected Shared Support volume: disk5s1"} << eject;
        QTest::newRow("eject fails")
            << both << "disk5s1"
            << QByteArray("echo '0:38: execution error: Unable to find disk for disk5s1 (1)' >&2; "
                          "exit 1")
            << 0
            << QStringList{"Failed to eject Shared Support volume: AppleScript Error 1: Unable to "
                           "find disk for disk5s1"}
            << eject;
        QTest::newRow("no identifier")
            << both << QString() << shell << 0 << QStringList() << QStringList();
        QTest::newRow("none mounted")
            << QStringList{"UNTITLED"} << "disk5s1" << shell << 0 << QStringList() << QStringList();
        const QString hostile = "disk5s1\" & (do shell script \"touch x\") & \"$(touch y)'\\";
        // An identifier that names no disk is never handed on.
        QTest::newRow("hostile identifier") << QStringList{"Shared Support"} << hostile << shell
                                            << 0 << QStringList() << QStringList();
    }
    void sharedSupportEject()
    {
        QFETCH(QStringList, volumes);
        QFETCH(QString, identifier);
        QFETCH(QByteArray, osascript);
        setVolumes(volumes);
        ScriptedDiskutil scripted = diskutil();
        const auto image = [](const QString &identifier, const QString &mountPoint) {
            return Map{{"DeviceIdentifier", identifier},
                       {"BusProtocol", "Disk Image"},
                       {"MountPoint", mountPoint}};
        };
        scripted.answer("info -plist " + Host::current().root(), startupVolume);
        scripted.answer("info -plist " + volume("Shared Support 1"),
                        image("disk6s1", "/Volumes/Shared Support 1"));
        if (!identifier.isNull()) {
            scripted.answer("info -plist " + volume("Shared Support"),
                            image(identifier, "/Volumes/Shared Support"));
            // Only the identifier whole, as one argument, is ejected.
            scripted.run("eject " + identifier, "[ $# -eq 2 ]; exit $?");
        }
        scripted.install();
        const QString scripts = world().path("scripts");
        world().replaceTool("usr/bin/osascript", "printf '%s\\0' \"$2\" >> " +
                                                     shellQuoted(scripts).toUtf8() + "\n" +
                                                     osascript);
        CapturedOutput diagnostics;
        // The completion comes on the background thread; the flag hands its result over.
        struct Ejection {
            int count = 0;
            bool onMainThread = true;
            std::atomic_bool done = false;
        };
        auto result = std::make_shared<Ejection>();
        DiskUtility::ejectSharedSupportVolumes([result](const DiskUtility::EjectResult &ejected) {
            result->count = std::get<int>(ejected);
            result->onMainThread = onMainThread();
            result->done = true;
        });
        QTRY_VERIFY(result->done);
        QVERIFY(!result->onMainThread);
        QTEST(result->count, "ejected");
        QTEST(diagnostics.text().split(u'\n', Qt::SkipEmptyParts), "printed");
        QFile ran(scripts);
        const QString recorded = ran.open(QIODevice::ReadOnly) ? ran.readAll() : QString();
        QTEST(recorded.split(QChar(0), Qt::SkipEmptyParts), "scripts");
        QVERIFY(!QFile::exists(world().path("x")) && !QFile::exists(world().path("y")));
    }
};

QTEST_GUILESS_MAIN(DiskUtilityTest)
#include "tst_diskutility.moc"
