#include "disk/DiskUtility.h"
#include "model/ShellQuote.h"
#include "support/CapturedOutput.h"
#include "support/StandInWorld.h"

#include <QStorageInfo>
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

QByteArray plistValue(const QVariant &value)
{
    QByteArray inner;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? "<true/>" : "<false/>";
    case QMetaType::Int:
        return "<integer>" + value.toByteArray() + "</integer>";
    case QMetaType::QVariantList:
        for (const QVariant &item : value.toList())
            inner += plistValue(item);
        return "<array>" + inner + "</array>";
    case QMetaType::QVariantMap:
        for (const auto &[key, item] : value.toMap().asKeyValueRange())
            inner += "<key>" + key.toHtmlEscaped().toUtf8() + "</key>" + plistValue(item);
        return "<dict>" + inner + "</dict>";
    default:
        return "<string>" + value.toString().toHtmlEscaped().toUtf8() + "</string>";
    }
}

// Bytes are taken as they are; anything else is written out as an XML property list.
QByteArray plist(const QVariant &top)
{
    if (top.typeId() == QMetaType::QByteArray)
        return top.toByteArray();
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + plistValue(top) +
           "</plist>\n";
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

ScriptedDiskutil &answerUsualDevices(ScriptedDiskutil &&diskutil)
{
    return diskutil.answer("info -plist disk0", fixture("info-disk0-internal.plist"))
        .answer("info -plist disk3", fixture("info-disk0-internal.plist"))
        .answer("info -plist disk4", fixture("info-disk4-usb-stick.plist"))
        .answer("info -plist disk5", fixture("info-disk5-usb-ssd.plist"))
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
                                 "Examining device: disk4s2 @ 95|Found removable volume: UNTITLED "
                                 "@ 95|Disk scan complete, found 1 removable disks @ 100";
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
        QTest::newRow("four disks; volumes in partition order, unmounted ones left out")
            << printing(listing({wholeDisk("disk0", {"disk0s1=EFI"}), wholeDisk("disk3", {}),
                                 wholeDisk("disk4", {"disk4s1=EFI", "disk4s2=UNTITLED"}),
                                 wholeDisk("disk5", {"disk5s1=B", "disk5s2=Ghost", "disk5s3=A"})}))
            << QStringList{"UNTITLED", "A", "B"}
            << "Parsing property list data @ 30|Found 4 disks to examine @ 40|"
               "Examining disk: disk0 @ 46.25|Examining disk: disk3 @ 52.5|"
               "Examining disk: disk4 @ 58.75|Found removable disk: disk4 @ 58.75|"
               "Processing volume: UNTITLED @ 58.75|Examining disk: disk5 @ 65|"
               "Found removable disk: disk5 @ 65|Processing volume: B @ 65|"
               "Processing volume: A @ 65|Disk scan complete, found 3 removable disks @ 100"
            << QStringList{"disk4s2 UNTITLED", "disk5s1 B", "disk5s3 A"};
        QVariantMap oddDisk = wholeDisk("disk5", {});
        oddDisk["Partitions"] = QVariantList{
            QVariantMap{{"DeviceIdentifier", "disk5s1"}, {"VolumeName", 7}}, QVariantMap{},
            QVariantMap{{"DeviceIdentifier", true}, {"VolumeName", "A"}},
            QVariantMap{{"DeviceIdentifier", "disk5s9"}, {"VolumeName", "../Volumes/A"}},
            QVariantMap{{"DeviceIdentifier", "disk5s2"}, {"VolumeName", "B"}}};
        QVariantMap mixed = wholeDisk("disk4", {"disk4s2=UNTITLED"});
        mixed["Partitions"] = mixed["Partitions"].toList() + QVariantList{"disk4s3"};
        QTest::newRow("entries of the wrong shape are passed over")
            << printing(
                   listing({QVariantMap{}, QVariantMap{{"DeviceIdentifier", 5}}, mixed, oddDisk}))
            << QStringList{"UNTITLED", "A", "B"}
            << "Parsing property list data @ 30|Found 4 disks to examine @ 40|"
               "Examining disk: disk4 @ 58.75|Found removable disk: disk4 @ 58.75|"
               "Examining disk: disk5 @ 65|Found removable disk: disk5 @ 65|"
               "Processing volume: B @ 65|Disk scan complete, found 1 removable disks @ 100"
            << QStringList{"disk5s2 B"};
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
        const QStorageInfo storage(Host::current().volumesFolder());
        for (const DiskInfo &disk : std::get<QList<DiskInfo>>(result->result)) {
            QVERIFY(disk.mountPoint == volume(disk.volumeName) && disk.isRemovable);
            QCOMPARE(disk.size, storage.bytesTotal());
            QVERIFY(disk.freeSpace > 0 && disk.freeSpace <= disk.size);
        }
        // Qt's -1 for unknown figures must not reach the records.
        QCOMPARE(DiskUtility::getVolumeInfo("/no/such/volume"), DiskUtility::VolumeSpace{});
    }

    void fallbackPassesOverSystemVolumes_data()
    {
        QTest::addColumn<bool>("named");
        QTest::addColumn<QStringList>("disks");
        QTest::newRow("computer named Demo Mac")
            << true << QStringList{"disk10s1 system", "disk4s2 UNTITLED"};
        QTest::newRow("unnamed computer")
            << false << QStringList{"disk10s1 system", "disk4s2 UNTITLED", "disk9s1 Demo Mac"};
    }
    void fallbackPassesOverSystemVolumes()
    {
        QFETCH(bool, named);
        if (!named) {
            QVERIFY(QFile::remove(world().path("etc/computer-name")));
            Host::setCurrent(Host::standIn(world().root()));
        }
        const QStringList volumes{"Demo Mac",    "Macintosh HD", "System Reserved",
                                  "Data System", "system",       "UNTITLED",
                                  "Card",        "Lower",        "Orphan"};
        setVolumes(volumes);
        const auto device = [](const char *identifier, const char *key, const QVariant &value) {
            return Map{{"DeviceIdentifier", identifier}, {key, value}};
        };
        ScriptedDiskutil scripted =
            answerUsualDevices(diskutil())
                .run("list -plist", "exit 1")
                .answer("info -plist " + volume("Demo Mac"), device("disk9s1", "External", true))
                .answer("info -plist " + volume("system"), device("disk10s1", "BusProtocol", "USB"))
                .answer("info -plist " + volume("Card"), Map{{"DeviceIdentifier", "disk7s1"},
                                                             {"RemovableMedia", true},
                                                             {"BusProtocol", "SD"}})
                .answer("info -plist " + volume("Lower"), device("disk8s1", "BusProtocol", "usb"));
        scripted.install();
        const auto result = scan();
        QVERIFY(result->done);
        QStringList disks = result->disks();
        disks.sort();
        QTEST(disks, "disks");
        QVERIFY(result->reports.contains("Found 9 volumes to examine @ 70"));
        for (const QString &name : volumes)
            QCOMPARE(result->reports.filter("Checking volume: " + name + " @ ").size(), 1);
        for (const char *skipped : {"Macintosh HD", "System Reserved", "Data System"})
            QVERIFY(!scripted.calls().contains("info -plist " + volume(skipped)));
        QVERIFY(!result->reports.filter("Examining device: disk7s1").isEmpty());
    }

    void removability_data()
    {
        QTest::addColumn<QByteArray>("info");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("wholeDisk");
        QTest::addColumn<bool>("volume");
        const auto row = [](const char *name, const QVariant &info, bool wholeDisk, bool volume,
                            int status = 0) {
            QTest::newRow(name) << plist(info) << status << wholeDisk << volume;
        };
        // The stick, the fixed SSD and the internal disk are read in scanReportsAndRecords.
        row("SD slot is removable media", fixture("info-disk6-sd-card.plist"), true, true);
        row("refused", fixture("info-disk4-usb-stick.plist"), false, false, 1);
        row("garbage", QByteArray("Removable: Yes"), false, false);
        row("array", QVariantList{Map{{"External", true}}}, false, false);
        row("removable media", Map{{"RemovableMedia", true}}, true, false);
        row("removable", Map{{"Removable", true}}, false, true);
        row("external", Map{{"External", true}}, true, true);
        row("wrong types count as absent",
            Map{{"RemovableMedia", "true"},
                {"Removable", 1},
                {"External", "Yes"},
                {"BusProtocol", 3}},
            false, false);
        row("false moves on to the bus",
            Map{{"RemovableMedia", false},
                {"Removable", false},
                {"External", false},
                {"BusProtocol", "Thunderbolt"}},
            true, true);
        row("SD only for whole disks", Map{{"BusProtocol", "SD"}}, true, false);
        row("SDXC", Map{{"BusProtocol", "SDXC"}}, true, true);
        row("bus names are case-sensitive", Map{{"BusProtocol", "usb"}}, false, false);
        row("bus in a list", Map{{"BusProtocol", QVariantList{"USB"}}}, false, false);
    }
    void removability()
    {
        QFETCH(QByteArray, info);
        QFETCH(int, status);
        world().replaceTool("usr/sbin/diskutil",
                            printing(info) + "; exit " + QByteArray::number(status));
        QTEST(DiskUtility::isRemovableDisk("disk4"), "wholeDisk");
        QTEST(DiskUtility::isRemovableVolume(volume("UNTITLED")), "volume");
    }

    void missingDiskutil()
    {
        world().removeTool("usr/sbin/diskutil");
        const auto result = scan();
        QVERIFY(result->done);
        QCOMPARE(result->reports, scanStart.mid(0, 2));
        const auto *error = std::get_if<DiskUtilityError>(&result->result);
        QVERIFY(error && error->kind == DiskUtilityError::Kind::launchFailed);
        QVERIFY(!error->text.isEmpty());
        QCOMPARE(error->description(), error->text);
        CapturedOutput diagnostics;
        QCOMPARE(DiskUtility::getDeviceIdentifier(volume("UNTITLED")), std::nullopt);
        QVERIFY(!DiskUtility::isRemovableDisk("disk4"));
        QCOMPARE(diagnostics.text(), "Error getting device identifier: " + error->text +
                                         "\nError checking if disk is removable: " + error->text +
                                         "\n");
    }

    void protectionStatus_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<bool>("enabled");
        const QByteArray said = "echo 'System Integrity Protection status: ";
        QTest::newRow("enabled") << said + "enabled.'" << true;
        QTest::newRow("disabled") << said + "disabled.'" << false;
        QTest::newRow("custom configuration")
            << said + "enabled (Custom Configuration).'; printf '\\tKext Signing: disabled\\n'"
            << false;
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
        QTest::newRow("hostile identifier")
            << QStringList{"Shared Support"} << hostile << shell << 1
            << QStringList{"Successfully ejected Shared Support volume: " + hostile}
            << QStringList{"do shell script \"diskutil eject 'disk5s1\\\" & (do shell script "
                           "\\\"touch x\\\") & \\\"$(touch y)'\\\\''\\\\'\""};
    }
    void sharedSupportEject()
    {
        QFETCH(QStringList, volumes);
        QFETCH(QString, identifier);
        QFETCH(QByteArray, osascript);
        setVolumes(volumes);
        ScriptedDiskutil scripted = diskutil();
        scripted.answer("info -plist " + volume("Shared Support 1"),
                        Map{{"DeviceIdentifier", "disk6s1"}});
        if (!identifier.isNull()) {
            scripted.answer("info -plist " + volume("Shared Support"),
                            Map{{"DeviceIdentifier", identifier}});
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
