// Runs the stand-in's diskutil and csrutil through a world's own links and holds their answers
// against what the real tools print: the property lists the fixtures record, the wording of each
// failure, and what eject leaves behind in the world.
#include "Plist.h"
#include "World.h"
#include "support/StandInProgram.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <plist/plist.h>

#include <memory>

namespace {

struct Result {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// Through the world's own link, so the tool has to find its world from where it lies.
Result run(const QString &root, const QString &tool, const QStringList &args)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("TESSALINE_HOST_ROOT"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(root + tool, args);
    if (!process.waitForFinished(10'000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

Result diskutil(const QString &root, const QStringList &args)
{
    return run(root, QStringLiteral("/usr/sbin/diskutil"), args);
}

// "@" stands for the world's folder, to give the tool host paths.
QString hostPaths(QString argument, const QString &root)
{
    return argument.startsWith(u'@') ? root + argument.mid(1) : argument;
}

QStringList strings(const QJsonValue &array)
{
    QStringList result;
    for (const QJsonValue &item : array.toArray())
        result << item.toString();
    return result;
}

QStringList wholeDisks(const QString &root)
{
    QStringList identifiers;
    for (const QJsonValue &disk : World(root).disks())
        identifiers << disk.toObject().value(u"DeviceIdentifier").toString();
    return identifiers;
}

struct PlistFree {
    void operator()(void *node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

PlistPtr parsePlist(const QByteArray &data)
{
    plist_t node = nullptr;
    if (!data.isEmpty())
        plist_from_memory(data.constData(), static_cast<uint32_t>(data.size()), &node);
    return PlistPtr(node);
}

PlistPtr fixture(const QString &name)
{
    QFile file(QStringLiteral(TESSALINE_FIXTURES "/diskutil/") + name);
    return file.open(QIODevice::ReadOnly) ? parsePlist(file.readAll()) : nullptr;
}

// One rendering, so that two plists compare whole, value types included.
QByteArray xmlOf(plist_t node)
{
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    const QByteArray result(xml, length);
    plist_to_xml_free(xml);
    return result;
}

} // namespace

class TestStandinDiskutil : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_temporary;
    // Only read from; tests that change a world make their own.
    QString m_root;
    int m_scratchWorlds = 0;

    QString scratchWorld()
    {
        return makeStandInWorld(
            m_temporary.filePath(QStringLiteral("scratch%1").arg(++m_scratchWorlds)));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
        QVERIFY(m_temporary.isValid());
        m_root = makeStandInWorld(m_temporary.filePath(QStringLiteral("mac")));
        QVERIFY(!m_root.isEmpty());
        QFile note(m_root + QStringLiteral("/Volumes/UNTITLED/notes.txt"));
        QVERIFY(note.open(QIODevice::WriteOnly));
    }

    void listPlist()
    {
        const Result result = diskutil(m_root, {"list", "-plist"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(!result.out.contains("<key>Info</key>") && !result.out.contains("Standin"));
        const QJsonObject list = Plist::toJson(result.out).toObject();
        QCOMPARE(strings(list.value(u"WholeDisks")), wholeDisks(m_root));
        QCOMPARE(list.value(u"WholeDisks").toArray().size(), 6);

        QStringList identifiers;
        QStringList mounted;
        for (const QJsonValue &value : list.value(u"AllDisksAndPartitions").toArray()) {
            const QJsonObject disk = value.toObject();
            identifiers << disk.value(u"DeviceIdentifier").toString();
            QVERIFY(disk.value(u"Partitions").isArray());
            for (const char *kind : {"Partitions", "APFSVolumes"}) {
                for (const QJsonValue &slice : disk.value(QLatin1String(kind)).toArray()) {
                    identifiers << slice.toObject().value(u"DeviceIdentifier").toString();
                    if (slice.toObject().contains(u"MountPoint"))
                        mounted << slice.toObject().value(u"VolumeName").toString();
                }
            }
        }
        QCOMPARE(strings(list.value(u"AllDisks")), identifiers);
        QCOMPARE(strings(list.value(u"VolumesFromDisks")),
                 QStringList({"Macintosh HD", "Macintosh HD - Data", "UNTITLED", "Shared Support",
                              "SDCARD", "Backup"}));

        // The disks the fixture's Mac has too come out exactly as it shows them.
        const PlistPtr output = parsePlist(result.out);
        const PlistPtr real = fixture(QStringLiteral("list.plist"));
        QVERIFY(output && real);
        for (uint32_t i = 0; i < 3; ++i)
            QCOMPARE(xmlOf(plist_array_get_item(
                         plist_dict_get_item(output.get(), "AllDisksAndPartitions"), i)),
                     xmlOf(plist_array_get_item(
                         plist_dict_get_item(real.get(), "AllDisksAndPartitions"), i)));
    }

    void listTable()
    {
        const QString table = QString::fromUtf8(diskutil(m_root, {"list"}).out);
        QVERIFY(table.contains(QLatin1String("/dev/disk3 (synthesized):")));
        QVERIFY(table.contains(QLatin1String("/dev/disk5 (disk image):")));
        QVERIFY(table.contains(QRegularExpression(
            QStringLiteral("/dev/disk4 \\(external, physical\\):\n(.*\n){3} +2: +Apple_HFS "
                           "UNTITLED +30.7 GB +disk4s2\n"))));
    }

    void infoMatchesRealOutput_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("worldDisk");
        const QString stick = QStringLiteral("info-disk4-usb-stick.plist");
        const QString volume = QStringLiteral("info-disk4s2-usb-volume.plist");
        QTest::newRow("whole disk") << "disk4" << stick << "disk4";
        QTest::newRow("volume node") << "/dev/disk4s2" << volume << "disk4";
        QTest::newRow("Mac mount point") << "/Volumes/UNTITLED" << volume << "disk4";
        QTest::newRow("host mount point") << "@/Volumes/UNTITLED/" << volume << "disk4";
        QTest::newRow("file on the volume") << "@/Volumes/UNTITLED/notes.txt" << volume << "disk4";
        QTest::newRow("USB SSD") << "disk7"
                                 << "info-disk5-usb-ssd.plist"
                                 << "disk7";
        QTest::newRow("SD card") << "disk6"
                                 << "info-disk6-sd-card.plist"
                                 << "disk6";
    }

    void infoMatchesRealOutput()
    {
        QFETCH(QString, argument);
        QFETCH(QString, fixture);
        QFETCH(QString, worldDisk);
        const Result result = diskutil(m_root, {"info", "-plist", hostPaths(argument, m_root)});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QString());
        const PlistPtr output = parsePlist(result.out);
        const PlistPtr real = ::fixture(fixture);
        QVERIFY(output && real);

        // The fixture's Mac may have numbered the device differently.
        const QString fixtureDisk =
            QRegularExpression(QStringLiteral("disk[0-9]+")).match(fixture).captured();
        for (const char *key : {"DeviceIdentifier", "DeviceNode", "ParentWholeDisk"}) {
            const QString value =
                Plist::toJson(xmlOf(real.get())).toObject().value(QLatin1String(key)).toString();
            plist_dict_set_item(
                real.get(), key,
                plist_new_string(QString(value).replace(fixtureDisk, worldDisk).toUtf8().data()));
        }
        // Recorded without it; every other answer has it.
        if (!plist_dict_get_item(real.get(), "IOKitSize"))
            plist_dict_remove_item(output.get(), "IOKitSize");
        QCOMPARE(xmlOf(output.get()), xmlOf(real.get()));
    }

    void infoFindsTheVolume_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("identifier");
        QTest::newRow("raw device node") << "/dev/rdisk6"
                                         << "disk6";
        QTest::newRow("folder deep in a volume") << "@/Volumes/SDCARD/DCIM/100CANON"
                                                 << "disk6s1";
        QTest::newRow("world root") << "@"
                                    << "disk3s1";
        QTest::newRow("mount point without a folder") << "/System/Volumes/Data"
                                                      << "disk3s5";
    }

    void infoFindsTheVolume()
    {
        QFETCH(QString, argument);
        QFETCH(QString, identifier);
        const Result result = diskutil(m_root, {"info", "-plist", hostPaths(argument, m_root)});
        QCOMPARE(result.exitCode, 0);
        const QJsonObject info = Plist::toJson(result.out).toObject();
        QCOMPARE(info.value(u"DeviceIdentifier").toString(), identifier);
        for (const char *key : {"RemovableMedia", "Removable", "BusProtocol", "MountPoint"})
            QVERIFY2(info.contains(QLatin1String(key)), key);
    }

    void infoUnknown_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("Mac path") << "/Volumes/Nothing";
        QTest::newRow("host path") << "@/Volumes/Nothing";
        QTest::newRow("identifier") << "disk99";
    }

    void infoUnknown()
    {
        QFETCH(QString, argument);
        argument = hostPaths(argument, m_root);
        const Result result = diskutil(m_root, {"info", "-plist", argument});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.out, QByteArray());
        QCOMPARE(result.err, QStringLiteral("Could not find disk: ") + argument + u'\n');
    }

    void ejectRemovesDiskAndVolume()
    {
        const QString root = scratchWorld();
        const QString volume = root + QStringLiteral("/Volumes/Shared Support");
        QVERIFY(QFileInfo(volume).isDir());

        Result result = diskutil(root, {"eject", "disk5"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("Disk disk5 ejected\n"));
        QVERIFY(!QFileInfo::exists(volume));
        QCOMPARE(wholeDisks(root), QStringList({"disk0", "disk3", "disk4", "disk6", "disk7"}));
        QVERIFY(QFileInfo(root + QStringLiteral("/Volumes/UNTITLED")).isDir());
        QVERIFY(QFileInfo(root + QStringLiteral("/Applications/Install macOS Sequoia.app/Contents/"
                                                "SharedSupport/SharedSupport.dmg"))
                    .isFile());

        result = diskutil(root, {"eject", "disk5"});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.out, QByteArray());
        QCOMPARE(result.err, QStringLiteral("Unable to find disk for disk5\n"));
    }

    // Real eject takes the whole device, whichever part of it it is given.
    void ejectByPathTakesWholeDisk()
    {
        const QString root = scratchWorld();
        const QString path = root + QStringLiteral("/Volumes/SDCARD/DCIM");
        const Result result = diskutil(root, {"eject", path});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QStringLiteral("Disk %1 ejected\n").arg(path).toUtf8());
        QCOMPARE(wholeDisks(root), QStringList({"disk0", "disk3", "disk4", "disk5", "disk7"}));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/Volumes/SDCARD")));
    }

    void ejectBusyVolume()
    {
        const QString root = scratchWorld();
        const QString volume = root + QStringLiteral("/Volumes/UNTITLED");
        QFile marker(volume + QStringLiteral("/.standin-busy"));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();

        Result result = diskutil(root, {"eject", "disk4"});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err, QStringLiteral("Unmount of disk4 failed: at least one volume could "
                                            "not be unmounted\nUnmount was dissented by PID 341 "
                                            "(/System/Library/Frameworks/CoreServices.framework/"
                                            "Frameworks/Metadata.framework/Support/mds)\n"));
        QVERIFY(marker.exists());
        QVERIFY(wholeDisks(root).contains(QStringLiteral("disk4")));

        QVERIFY(marker.remove());
        QCOMPARE(diskutil(root, {"eject", "disk4"}).exitCode, 0);
        QVERIFY(!QFileInfo::exists(volume));
    }

    void ejectInternalRefused_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("internal disk") << "disk0";
        QTest::newRow("system volume") << "/";
    }

    void ejectInternalRefused()
    {
        QFETCH(QString, argument);
        const Result result = diskutil(m_root, {"eject", argument});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err,
                 QStringLiteral("Eject of %1 failed: the disk is not ejectable\n").arg(argument));
        QCOMPARE(wholeDisks(m_root).size(), 6);
    }

    void csrutilStatus_data()
    {
        QTest::addColumn<World::Protection>("protection");
        QTest::addColumn<QString>("text");
        QTest::newRow("enabled") << World::Protection::Enabled
                                 << "System Integrity Protection status: enabled.\n";
        QTest::newRow("disabled") << World::Protection::Disabled
                                  << "System Integrity Protection status: disabled.\n";
        QTest::newRow("custom")
            << World::Protection::Custom
            << "System Integrity Protection status: enabled (Custom Configuration).\n\n"
               "Configuration:\n\tApple Internal: disabled\n\tKext Signing: disabled\n"
               "\tFilesystem Protections: enabled\n\tDebugging Restrictions: enabled\n"
               "\tDTrace Restrictions: enabled\n\tNVRAM Protections: enabled\n"
               "\tBaseSystem Verification: enabled\n\nThis is an unsupported configuration, "
               "likely to break in the future and leave your machine in an unknown state.\n";
    }

    void csrutilStatus()
    {
        QFETCH(World::Protection, protection);
        QFETCH(QString, text);
        const QString root = scratchWorld();
        QVERIFY(World(root).setProtection(protection));
        const Result result = run(root, QStringLiteral("/usr/bin/csrutil"), {"status"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QString());
        QCOMPARE(QString::fromUtf8(result.out), text);
    }

    void csrutilCannotChangeProtection()
    {
        const QString csrutil = QStringLiteral("/usr/bin/csrutil");
        const Result disable = run(m_root, csrutil, {"disable"});
        QCOMPARE(disable.exitCode, 1);
        QVERIFY2(disable.err.contains(QLatin1String("Recovery OS")), qPrintable(disable.err));
        QCOMPARE(World(m_root).protection(), World::Protection::Enabled);

        const Result usage = run(m_root, csrutil, {"statuss"});
        QCOMPARE(usage.exitCode, 1);
        QVERIFY(usage.err.startsWith(QLatin1String("usage: csrutil <command>\n")));
    }
};

QTEST_GUILESS_MAIN(TestStandinDiskutil)
#include "tst_standin_diskutil.moc"
