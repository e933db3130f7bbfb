#include "disk/DiskUtility.h"
#include "exec/AppleScriptString.h"
#include "model/ShellQuote.h"
#include "support/CapturedOutput.h"
#include "support/StandInWorld.h"

#include <QStorageInfo>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(TESSALINE_FIXTURES "/diskutil/") + name);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray plistValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? "<true/>" : "<false/>";
    case QMetaType::Int:
        return "<integer>" + value.toByteArray() + "</integer>";
    case QMetaType::QVariantList: {
        QByteArray items;
        for (const QVariant &item : value.toList())
            items += plistValue(item);
        return "<array>" + items + "</array>";
    }
    case QMetaType::QVariantMap: {
        QByteArray entries;
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            entries += "<key>" + it.key().toHtmlEscaped().toUtf8() + "</key>" + plistValue(*it);
        return "<dict>" + entries + "</dict>";
    }
    default:
        return "<string>" + value.toString().toHtmlEscaped().toUtf8() + "</string>";
    }
}

QByteArray plist(const QVariant &top)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + plistValue(top) +
           "</plist>\n";
}

// A whole disk whose partitions are given as "identifier=volume name".
QVariantMap wholeDisk(const QString &identifier, const QStringList &volumes)
{
    QVariantList partitions;
    for (const QString &volume : volumes) {
        const QStringList pair = volume.split(u'=');
        partitions << QVariantMap{{"DeviceIdentifier", pair[0]}, {"VolumeName", pair[1]}};
    }
    return {{"DeviceIdentifier", identifier}, {"Partitions", partitions}};
}

QByteArray listing(const QVariantList &disks)
{
    return plist(QVariantMap{{"AllDisksAndPartitions", disks}});
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

// A diskutil that gives fixed answers to fixed argument lists and complains and exits 1, as the
// real one does, for anything else. Every call is logged.
class ScriptedDiskutil {
public:
    explicit ScriptedDiskutil(const StandInWorld &world)
        : m_world(world), m_log(world.path(QStringLiteral("diskutil.log")))
    {
    }

    ScriptedDiskutil &answer(const QString &arguments, const QByteArray &output)
    {
        const QString file = m_log + QString::number(m_answers++);
        QFile answer(file);
        answer.open(QIODevice::WriteOnly);
        answer.write(output);
        return run(arguments, "cat " + shellQuoted(file).toUtf8());
    }
    ScriptedDiskutil &run(const QString &arguments, const QByteArray &commands)
    {
        m_cases += shellQuoted(arguments).toUtf8() + ") " + commands + "\n    exit $?;;\n";
        return *this;
    }
    void install() const
    {
        m_world.replaceTool("usr/sbin/diskutil",
                            "printf '%s\\n' \"$*\" >> " + shellQuoted(m_log).toUtf8() +
                                "\ncase \"$*\" in\n" + m_cases +
                                "esac\necho \"Could not find disk: $3\" >&2; exit 1");
    }
    QStringList calls() const
    {
        QFile log(m_log);
        log.open(QIODevice::ReadOnly);
        return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    const StandInWorld &m_world;
    QString m_log;
    QByteArray m_cases;
    int m_answers = 0;
};

ScriptedDiskutil &answerUsualDevices(ScriptedDiskutil &diskutil)
{
    return diskutil.answer("info -plist disk0", fixture("info-disk0-internal.plist"))
        .answer("info -plist disk3", fixture("info-disk0-internal.plist"))
        .answer("info -plist disk4", fixture("info-disk4-usb-stick.plist"))
        .answer("info -plist disk5", fixture("info-disk5-usb-ssd.plist"))
        .answer("info -plist " + volume("UNTITLED"), fixture("info-disk4s2-usb-volume.plist"));
}

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
            scan->completedOnMainThread =
                QThread::currentThread() == QCoreApplication::instance()->thread();
            scan->done = true;
        });
    return scan;
}

const QStringList scanStart{"Starting disk scan @ 5", "Running diskutil command @ 10",
                            "Processing disk information @ 20"};

} // namespace

class DiskUtilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void recordsAreEqualByDevice()
    {
        const DiskInfo stick("disk4s2", "UNTITLED", "/Volumes/UNTITLED", 31'004'295'168, 0, true);
        const DiskInfo again("disk4s2", "RENAMED", "/Volumes/RENAMED", 1, 2, false);
        QVERIFY(stick == again);
        QVERIFY(stick.id != again.id);
        QCOMPARE(qHash(stick), qHash(again));
        QVERIFY(!(stick == DiskInfo("disk4s1", "UNTITLED", "/Volumes/UNTITLED", 0, 0, true)));
        QCOMPARE(DiskInfo(stick).id, stick.id);
        QCOMPARE(stick.formattedSize(), QStringLiteral("31.00 GB"));
        QCOMPARE(again.formattedFreeSpace(), QStringLiteral("0.00 GB"));
    }

    void errorDescriptions()
    {
        QCOMPARE(DiskUtilityError::commandFailed("busy").description(), "Command failed: busy");
        QCOMPARE(DiskUtilityError::parsingFailed().description(),
                 "Failed to parse disk information");
        QCOMPARE(DiskUtilityError::launchFailed("No such file").description(), "No such file");
    }

    void scanReportsAndRecords_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QStringList>("volumes");
        QTest::addColumn<QStringList>("reports");
        QTest::addColumn<QStringList>("disks");

        QTest::newRow("no disk listed, so the volumes folder is walked")
            << listing({}) << QStringList{"UNTITLED"}
            << scanStart + QStringList{"Parsing property list data @ 30",
                                       "Found 0 disks to examine @ 40",
                                       "Primary method failed, trying fallback method @ 65",
                                       "Found 1 volumes to examine @ 70",
                                       "Checking volume: UNTITLED @ 95",
                                       "Examining device: disk4s2 @ 95",
                                       "Found removable volume: UNTITLED @ 95",
                                       "Disk scan complete, found 1 removable disks @ 100"}
            << QStringList{"disk4s2 UNTITLED"};
        QTest::newRow("one disk; its unmounted EFI is left out")
            << listing({wholeDisk("disk4", {"disk4s1=EFI", "disk4s2=UNTITLED"})})
            << QStringList{"UNTITLED"}
            << scanStart + QStringList{"Parsing property list data @ 30",
                                       "Found 1 disks to examine @ 40",
                                       "Examining disk: disk4 @ 65",
                                       "Found removable disk: disk4 @ 65",
                                       "Processing volume: UNTITLED @ 65",
                                       "Disk scan complete, found 1 removable disks @ 100"}
            << QStringList{"disk4s2 UNTITLED"};
        QTest::newRow("four disks; volumes in partition order, unmounted one left out")
            << listing({wholeDisk("disk0", {"disk0s1=EFI"}), wholeDisk("disk3", {}),
                        wholeDisk("disk4", {"disk4s2=UNTITLED"}),
                        wholeDisk("disk5", {"disk5s1=B", "disk5s2=Ghost", "disk5s3=A"})})
            << QStringList{"UNTITLED", "A", "B"}
            << scanStart + QStringList{"Parsing property list data @ 30",
                                       "Found 4 disks to examine @ 40",
                                       "Examining disk: disk0 @ 46.25",
                                       "Examining disk: disk3 @ 52.5",
                                       "Examining disk: disk4 @ 58.75",
                                       "Found removable disk: disk4 @ 58.75",
                                       "Processing volume: UNTITLED @ 58.75",
                                       "Examining disk: disk5 @ 65",
                                       "Found removable disk: disk5 @ 65",
                                       "Processing volume: B @ 65",
                                       "Processing volume: A @ 65",
                                       "Disk scan complete, found 3 removable disks @ 100"}
            << QStringList{"disk4s2 UNTITLED", "disk5s1 B", "disk5s3 A"};
        QVariantMap oddDisk = wholeDisk("disk5", {});
        oddDisk["Partitions"] = QVariantList{
            QVariantMap{{"DeviceIdentifier", "disk5s1"}, {"VolumeName", 7}}, QVariantMap{},
            QVariantMap{{"DeviceIdentifier", true}, {"VolumeName", "A"}},
            QVariantMap{{"DeviceIdentifier", "disk5s9"}, {"VolumeName", "../Volumes/A"}},
            QVariantMap{{"DeviceIdentifier", "disk5s2"}, {"VolumeName", "B"}}};
        QVariantMap mixedPartitions = wholeDisk("disk4", {"disk4s2=UNTITLED"});
        mixedPartitions["Partitions"] =
            mixedPartitions["Partitions"].toList() + QVariantList{"disk4s3"};
        QTest::newRow("entries of the wrong shape are passed over")
            << listing(
                   {QVariantMap{}, QVariantMap{{"DeviceIdentifier", 5}}, mixedPartitions, oddDisk})
            << QStringList{"UNTITLED", "A", "B"}
            << scanStart + QStringList{"Parsing property list data @ 30",
                                       "Found 4 disks to examine @ 40",
                                       "Examining disk: disk4 @ 58.75",
                                       "Found removable disk: disk4 @ 58.75",
                                       "Examining disk: disk5 @ 65",
                                       "Found removable disk: disk5 @ 65",
                                       "Processing volume: B @ 65",
                                       "Disk scan complete, found 1 removable disks @ 100"}
            << QStringList{"disk5s2 B"};
    }
    void scanReportsAndRecords()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QFETCH(QByteArray, list);
        QFETCH(QStringList, volumes);
        setVolumes(volumes);
        ScriptedDiskutil diskutil(world);
        answerUsualDevices(diskutil).answer("list -plist", list).install();

        const auto result = scan();
        QTRY_VERIFY(result->done);
        QVERIFY(!result->completedOnMainThread);
        QTEST(result->reports, "reports");
        QTEST(result->disks(), "disks");
        const QStorageInfo storage(Host::current().volumesFolder());
        for (const DiskInfo &disk : std::get<QList<DiskInfo>>(result->result)) {
            QCOMPARE(disk.mountPoint, volume(disk.volumeName));
            QCOMPARE(disk.size, storage.bytesTotal());
            QVERIFY(disk.freeSpace > 0 && disk.freeSpace <= disk.size);
            QVERIFY(disk.isRemovable);
        }
    }

    void unusableListingFallsBack_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<bool>("parsed");
        QTest::newRow("exits non-zero")
            << "cat " +
                   shellQuoted(QStringLiteral(TESSALINE_FIXTURES "/diskutil/list.plist")).toUtf8() +
                   "; exit 1"
            << false;
        QTest::newRow("truncated")
            << "head -c 3000 " +
                   shellQuoted(QStringLiteral(TESSALINE_FIXTURES "/diskutil/list.plist")).toUtf8()
            << true;
        QTest::newRow("garbage") << QByteArray("echo 'Usage: diskutil list'") << true;
        QTest::newRow("nothing at all") << QByteArray("exit 0") << true;
        QTest::newRow("top level is an array")
            << "printf '%s' " + shellQuoted(plist(QVariantList{"disk4"})).toUtf8() << true;
        QTest::newRow("disks are not dictionaries")
            << "printf '%s' " +
                   shellQuoted(plist(QVariantMap{{"AllDisksAndPartitions", QVariantList{"disk4"}}}))
                       .toUtf8()
            << true;
        QTest::newRow("30 MB") << QByteArray("head -c 30000000 /dev/zero | tr '\\0' x") << true;
    }
    void unusableListingFallsBack()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QFETCH(QByteArray, tool);
        QFETCH(bool, parsed);
        setVolumes({"UNTITLED"});
        ScriptedDiskutil diskutil(world);
        answerUsualDevices(diskutil).run("list -plist", tool).install();

        const auto result = scan();
        QTRY_VERIFY_WITH_TIMEOUT(result->done, 20000);
        const QStringList primary =
            parsed ? scanStart + QStringList{"Parsing property list data @ 30"} : scanStart;
        QCOMPARE(result->reports.mid(0, primary.size() + 1),
                 primary + QStringList{"Primary method failed, trying fallback method @ 65"});
        QCOMPARE(result->disks(), QStringList{"disk4s2 UNTITLED"});
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
        StandInWorld world;
        QVERIFY(world.isValid());
        QFETCH(bool, named);
        if (!named) {
            QVERIFY(QFile::remove(world.path("etc/computer-name")));
            Host::setCurrent(Host::standIn(world.root()));
        }
        const QStringList volumes{"Demo Mac",    "Macintosh HD", "System Reserved",
                                  "Data System", "system",       "UNTITLED",
                                  "Card",        "Lower",        "Orphan"};
        setVolumes(volumes);
        ScriptedDiskutil diskutil(world);
        const auto device = [](const QString &identifier, const QVariantMap &keys) {
            QVariantMap info = keys;
            info["DeviceIdentifier"] = identifier;
            return plist(info);
        };
        answerUsualDevices(diskutil)
            .run("list -plist", "exit 1")
            .answer("info -plist " + volume("Demo Mac"), device("disk9s1", {{"External", true}}))
            .answer("info -plist " + volume("system"), device("disk10s1", {{"BusProtocol", "USB"}}))
            .answer("info -plist " + volume("Card"),
                    device("disk7s1", {{"RemovableMedia", true}, {"BusProtocol", "SD"}}))
            .answer("info -plist " + volume("Lower"), device("disk8s1", {{"BusProtocol", "usb"}}))
            .install();

        const auto result = scan();
        QTRY_VERIFY(result->done);
        QStringList disks = result->disks();
        disks.sort();
        QTEST(disks, "disks");
        QVERIFY(result->reports.contains("Found 9 volumes to examine @ 70"));
        for (const QString &name : volumes)
            QCOMPARE(result->reports.filter("Checking volume: " + name + " @ ").size(), 1);
        for (const char *skipped : {"Macintosh HD", "System Reserved", "Data System"})
            QVERIFY(!diskutil.calls().contains("info -plist " + volume(skipped)));
        QVERIFY(!result->reports.filter("Examining device: disk7s1").isEmpty());
    }

    void removability_data()
    {
        QTest::addColumn<QByteArray>("info");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("wholeDisk");
        QTest::addColumn<bool>("volume");
        const auto row = [](const char *name, const QVariantMap &info, bool wholeDisk,
                            bool volume) {
            QTest::newRow(name) << plist(info) << 0 << wholeDisk << volume;
        };
        QTest::newRow("USB stick") << fixture("info-disk4-usb-stick.plist") << 0 << true << true;
        QTest::newRow("fixed USB SSD") << fixture("info-disk5-usb-ssd.plist") << 0 << true << true;
        QTest::newRow("internal SSD")
            << fixture("info-disk0-internal.plist") << 0 << false << false;
        QTest::newRow("SD slot is removable media")
            << fixture("info-disk6-sd-card.plist") << 0 << true << true;
        QTest::newRow("refused") << fixture("info-disk4-usb-stick.plist") << 1 << false << false;
        QTest::newRow("garbage") << QByteArray("Removable: Yes") << 0 << false << false;
        QTest::newRow("array") << plist(QVariantList{QVariantMap{{"External", true}}}) << 0 << false
                               << false;
        row("removable media", {{"RemovableMedia", true}}, true, false);
        row("removable", {{"Removable", true}}, false, true);
        row("external", {{"External", true}}, true, true);
        row("wrong types count as absent",
            {{"RemovableMedia", "true"}, {"Removable", 1}, {"External", "Yes"}, {"BusProtocol", 3}},
            false, false);
        row("false moves on to the bus",
            {{"RemovableMedia", false},
             {"Removable", false},
             {"External", false},
             {"BusProtocol", "Thunderbolt"}},
            true, true);
        row("SD only for whole disks", {{"BusProtocol", "SD"}}, true, false);
        row("SDXC", {{"BusProtocol", "SDXC"}}, true, true);
        row("bus names are case-sensitive", {{"BusProtocol", "usb"}}, false, false);
        row("bus in a list", {{"BusProtocol", QVariantList{"USB"}}}, false, false);
    }
    void removability()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QFETCH(QByteArray, info);
        QFETCH(int, status);
        QFile answer(world.path("answer"));
        QVERIFY(answer.open(QIODevice::WriteOnly));
        answer.write(info);
        answer.close();
        world.replaceTool("usr/sbin/diskutil", "cat " + shellQuoted(answer.fileName()).toUtf8() +
                                                   "; exit " + QByteArray::number(status));
        QTEST(DiskUtility::isRemovableDisk("disk4"), "wholeDisk");
        QTEST(DiskUtility::isRemovableVolume(volume("UNTITLED")), "volume");
    }

    void missingDiskutil()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        world.removeTool("usr/sbin/diskutil");
        const auto result = scan();
        QTRY_VERIFY(result->done);
        QCOMPARE(result->reports,
                 (QStringList{"Starting disk scan @ 5", "Running diskutil command @ 10"}));
        const auto *error = std::get_if<DiskUtilityError>(&result->result);
        QVERIFY(error);
        QCOMPARE(error->kind, DiskUtilityError::Kind::launchFailed);
        QVERIFY(!error->description().isEmpty());

        CapturedOutput diagnostics;
        QCOMPARE(DiskUtility::getDeviceIdentifier(volume("UNTITLED")), std::nullopt);
        QVERIFY(!DiskUtility::isRemovableDisk("disk4"));
        const QStringList lines = diagnostics.text().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], "Error getting device identifier: " + error->text);
        QCOMPARE(lines[1], "Error checking if disk is removable: " + error->text);
    }

    void volumeSizes()
    {
        const QStorageInfo storage(QDir::tempPath());
        const DiskUtility::VolumeSpace space = DiskUtility::getVolumeInfo(QDir::tempPath());
        QCOMPARE(space.size, storage.bytesTotal());
        QVERIFY(space.freeSpace > 0 && space.freeSpace <= space.size);
        QCOMPARE(DiskUtility::getVolumeInfo("/no/such/volume"), DiskUtility::VolumeSpace{});
    }

    void protectionStatus_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("enabled") << QByteArray(
                                        "echo 'System Integrity Protection status: enabled.'")
                                 << true;
        QTest::newRow("disabled") << QByteArray(
                                         "echo 'System Integrity Protection status: disabled.'")
                                  << false;
        QTest::newRow("custom configuration")
            << QByteArray("echo 'System Integrity Protection status: enabled (Custom "
                          "Configuration).'; printf '\\tKext Signing: disabled\\n'")
            << false;
        QTest::newRow("failing tool is still read")
            << QByteArray("echo 'status: enabled.'; exit 1") << true;
        QTest::newRow("nothing said") << QByteArray("exit 0") << false;
        QTest::newRow("not UTF-8") << QByteArray("printf 'status: disabled \\xff'") << true;
        QTest::newRow("missing") << QByteArray() << true;
    }
    void protectionStatus()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QFETCH(QByteArray, tool);
        if (tool.isEmpty())
            world.removeTool("usr/bin/csrutil");
        else
            world.replaceTool("usr/bin/csrutil", "[ \"$*\" = status ] || exit 64\n" + tool);
        std::optional<bool> answer;
        bool onMainThread = false;
        DiskUtility::checkSIPStatus([&](bool enabled) {
            onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
            answer = enabled;
        });
        QTRY_VERIFY(answer.has_value());
        QVERIFY(onMainThread);
        QTEST(*answer, "enabled");
    }

    void appleScriptStrings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("literal");
        QTest::newRow("empty") << ""
                               << R"("")";
        QTest::newRow("plain") << "diskutil eject disk5s1"
                               << R"("diskutil eject disk5s1")";
        QTest::newRow("quote") << R"(say "hi")"
                               << "\"say \\\"hi\\\"\"";
        QTest::newRow("backslash before quote") << R"(a\"b)"
                                                << "\"a\\\\\\\"b\"";
        QTest::newRow("trailing backslash") << R"(a\)"
                                            << R"("a\\")";
        QTest::newRow("line break and accents kept") << "é\nà"
                                                     << "\"é\nà\"";
    }
    void appleScriptStrings()
    {
        QFETCH(QString, text);
        QTEST(appleScriptString(text), "literal");
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
        const QByteArray shell = R"sh(s=${2#do shell script \"}; s=${s%\"}
cd "$TESSALINE_HOST_ROOT" && bash -c "$(printf '%s' "$s" | sed -e 's/\\\(.\)/\1/g')")sh";
        const QStringList both{"Shared Support", "Shared Support 1", "UNTITLED"};
        QTest::newRow("only the exact name")
            << both << "disk5s1" << shell << 1
            << QStringList{"Successfully ejected Shared Support volume: disk5s1"}
            << QStringList{R"(do shell script "diskutil eject disk5s1")"};
        QTest::newRow("eject fails")
            << both << "disk5s1"
            << QByteArray("echo '0:38: execution error: Unable to find disk for disk5s1 (1)' >&2; "
                          "exit 1")
            << 0
            << QStringList{"Failed to eject Shared Support volume: AppleScript Error 1: Unable to "
                           "find disk for disk5s1"}
            << QStringList{R"(do shell script "diskutil eject disk5s1")"};
        QTest::newRow("no identifier")
            << both << QString() << shell << 0 << QStringList() << QStringList();
        QTest::newRow("none mounted")
            << QStringList{"UNTITLED"} << "disk5s1" << shell << 0 << QStringList() << QStringList();
        const QString hostile = R"(disk5s1" & (do shell script "touch x") & "$(touch y)'\)";
        QTest::newRow("hostile identifier")
            << QStringList{"Shared Support"} << hostile << shell << 1
            << QStringList{"Successfully ejected Shared Support volume: " + hostile}
            << QStringList{"do shell script \"diskutil eject 'disk5s1\\\" & (do shell script "
                           "\\\"touch x\\\") & \\\"$(touch y)'\\\\''\\\\'\""};
    }
    void sharedSupportEject()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QFETCH(QStringList, volumes);
        QFETCH(QString, identifier);
        QFETCH(QByteArray, osascript);
        setVolumes(volumes);
        ScriptedDiskutil diskutil(world);
        diskutil.answer("info -plist " + volume("Shared Support 1"),
                        plist(QVariantMap{{"DeviceIdentifier", "disk6s1"}}));
        if (!identifier.isNull()) {
            diskutil.answer("info -plist " + volume("Shared Support"),
                            plist(QVariantMap{{"DeviceIdentifier", identifier}}));
            // Only the identifier whole, as one argument, is ejected.
            diskutil.run("eject " + identifier, "[ $# -eq 2 ]; exit $?");
        }
        diskutil.install();
        const QString scripts = world.path("scripts");
        world.replaceTool("usr/bin/osascript", "printf '%s\\0' \"$2\" >> " +
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
            result->onMainThread =
                QThread::currentThread() == QCoreApplication::instance()->thread();
            result->done = true;
        });
        QTRY_VERIFY(result->done);
        const QString printed = diagnostics.text();
        QVERIFY(!result->onMainThread);
        QTEST(result->count, "ejected");
        QTEST(printed.split(u'\n', Qt::SkipEmptyParts), "printed");
        QFile ran(scripts);
        const QString recorded = ran.open(QIODevice::ReadOnly) ? ran.readAll() : QString();
        QTEST(recorded.split(QChar(0), Qt::SkipEmptyParts), "scripts");
        QVERIFY(!QFile::exists(world.path("x")) && !QFile::exists(world.path("y")));
    }
};

QTEST_GUILESS_MAIN(DiskUtilityTest)
#include "tst_diskutility.moc"
