// Hostile disk layouts: which volumes are offered, what is erased, and what is refused or left
// alone, on stand-in Macs whose disks.json says what a real Mac's diskutil would.

#include "disk/DiskUtility.h"
#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"
#include "support/TestSecret.h"

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>

using namespace std::chrono_literals;

namespace {

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

void writeJson(const QString &path, const QJsonObject &object)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(object).toJson());
}

// A USB stick `whole` with one HFS volume, in the world's own vocabulary.
QJsonObject stick(const QString &whole, const QString &name, const QString &mountPoint,
                  const QString &uuid, bool writable = true)
{
    const QJsonObject device{{"BusProtocol", "USB"},   {"Ejectable", true},
                             {"Internal", false},      {"Removable", true},
                             {"RemovableMedia", true}, {"VirtualOrPhysical", "Physical"},
                             {"Writable", writable},   {"WritableMedia", writable}};
    return {{"Content", "GUID_partition_scheme"},
            {"DeviceIdentifier", whole},
            {"Info", device},
            {"Partitions",
             QJsonArray{QJsonObject{
                 {"Content", "Apple_HFS"},
                 {"DeviceIdentifier", whole + "s2"},
                 {"Info", QJsonObject{{"FreeSpace", 1'000'000'000}, {"WritableVolume", writable}}},
                 {"MountPoint", mountPoint},
                 {"Size", qint64(30'000'000'000)},
                 {"VolumeName", name},
                 {"VolumeUUID", uuid}}}},
            {"Size", qint64(31'000'000'000)}};
}

// A disk of the world, as the test sees it and changes it.
struct Disks {
    const StandInWorld &world;
    QJsonArray disks = readJson(world.path("var/standin/disks.json"))["disks"].toArray();

    void save() const
    {
        writeJson(world.path("var/standin/disks.json"), QJsonObject{{"disks", disks}});
    }
    void add(const QJsonObject &disk, bool makeFolder = true)
    {
        disks.append(disk);
        if (makeFolder)
            for (const QJsonValue &slice : disk["Partitions"].toArray())
                QVERIFY(QDir().mkpath(world.path(slice["MountPoint"].toString().mid(1))));
    }
    void remove(const QString &whole)
    {
        for (qsizetype i = 0; i < disks.size(); ++i)
            if (disks.at(i)["DeviceIdentifier"] == whole)
                disks.removeAt(i--);
    }
    // Changes one key of the slice `identifier`.
    void setSliceKey(const QString &identifier, const QString &key, const QJsonValue &value)
    {
        for (QJsonValueRef diskValue : disks) {
            QJsonObject disk = diskValue.toObject();
            for (const char *list : {"Partitions", "APFSVolumes"}) {
                QJsonArray slices = disk[list].toArray();
                for (QJsonValueRef slice : slices) {
                    if (slice.toObject()["DeviceIdentifier"] != identifier)
                        continue;
                    QJsonObject changed = slice.toObject();
                    changed.insert(key, value);
                    slice = changed;
                }
                disk.insert(list, slices);
            }
            diskValue = disk;
        }
    }
};

enum class Layout {
    namesakes,
    diskImage,
    externalBoot,
    staleFolder,
    readOnly,
};

void arrange(const StandInWorld &world, Layout layout)
{
    Disks disks{world};
    switch (layout) {
    case Layout::namesakes: {
        // An internal "Data" holds /Volumes/Data, so the stick's "Data" mounts at "Data 1".
        QJsonObject internal = stick("disk2", "Data", "/Volumes/Data", "UUID-INTERNAL");
        QJsonObject device = internal["Info"].toObject();
        device.insert("BusProtocol", "PCI-Express");
        device.insert("Internal", true);
        device.insert("RemovableMedia", false);
        device.insert("Removable", false);
        device.insert("Ejectable", false);
        internal.insert("Info", device);
        disks.add(internal);
        disks.add(stick("disk8", "Data", "/Volumes/Data 1", "UUID-STICK"));
        QFile keep(world.path("Volumes/Data/keep.txt"));
        QVERIFY(keep.open(QIODevice::WriteOnly));
        break;
    }
    case Layout::diskImage: {
        QJsonObject image = stick("disk9", "Scratch", "/Volumes/Scratch", "UUID-IMAGE");
        QJsonObject device = image["Info"].toObject();
        device.insert("BusProtocol", "Disk Image");
        device.insert("VirtualOrPhysical", "Virtual");
        image.insert("Info", device);
        disks.add(image);
        break;
    }
    case Layout::externalBoot: {
        // Started from a USB disk: "/" is its volume, the internal one mounts in the folder.
        disks.setSliceKey("disk3s1", "MountPoint", "/Volumes/Macintosh HD");
        QVERIFY(QDir().mkpath(world.path("Volumes/Macintosh HD")));
        QJsonObject boot = stick("disk8", "External Boot", "/", "UUID-BOOT");
        QJsonArray slices = boot["Partitions"].toArray();
        slices.append(
            stick("disk8", "Stuff", "/Volumes/Stuff", "UUID-STUFF")["Partitions"][0].toObject());
        QJsonObject second = slices[1].toObject();
        second.insert("DeviceIdentifier", "disk8s3");
        slices[1] = second;
        boot.insert("Partitions", slices);
        disks.add(boot, false);
        QVERIFY(QDir().mkpath(world.path("Volumes/Stuff")));
        // macOS shows the startup volume in the folder as a link to "/".
        QVERIFY(QFile::link(world.root(), world.path("Volumes/External Boot")));
        break;
    }
    case Layout::staleFolder:
        // Left behind by a stick pulled without ejecting.
        QVERIFY(QDir().mkpath(world.path("Volumes/OldStick")));
        break;
    case Layout::readOnly:
        disks.add(stick("disk9", "LOCKED", "/Volumes/LOCKED", "UUID-LOCKED", false));
        break;
    }
    disks.save();
}

// The listing's answer only: everything else goes to the stand-in's own diskutil.
void failListing(const StandInWorld &world)
{
    world.replaceTool("usr/sbin/diskutil", "[ \"$*\" = 'list -plist' ] && exit 1\n"
                                           "exec \"$TESSALINE_STANDIN\" diskutil \"$@\"");
}

QStringList offered(const StandInWorld &world, DiskUtility::DiskListResult *result = nullptr)
{
    const DiskUtility::DiskListResult scanned = DiskUtility::fetchRemovableDisks({});
    if (result)
        *result = scanned;
    QStringList described;
    if (const auto *disks = std::get_if<QList<DiskInfo>>(&scanned))
        for (const DiskInfo &disk : *disks)
            described << disk.deviceIdentifier + u' ' +
                             disk.mountPoint.mid(world.root().size() + 1);
    described.sort();
    return described;
}

QStringList logged(const StandInWorld &world, const QString &tool)
{
    QFile log(world.path("var/standin/" + tool + ".log"));
    return log.open(QIODevice::ReadOnly)
               ? QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts)
               : QStringList();
}

// Lists installers and volumes the way the window does and selects the installer called
// INSTALLER (the first one when empty) and the volume on DEVICE; false when either is missing.
bool choose(AppState &state, const QString &device, const QString &installer = {})
{
    state.scanForInstallers();
    if (!QTest::qWaitFor([&] { return !state.isScanning() && !state.installers().isEmpty(); }))
        return false;
    for (const InstallerApp &app : state.installers())
        if (installer.isEmpty() || app.name == installer) {
            state.selectedInstaller = app;
            break;
        }
    state.refreshDiskList();
    if (!QTest::qWaitFor(
            [&] { return !state.isLoadingDisks() && !state.availableDisks().isEmpty(); }))
        return false;
    for (const DiskInfo &disk : state.availableDisks())
        if (disk.deviceIdentifier == device)
            state.selectedDisk = disk;
    return state.selectedInstaller() && state.selectedDisk();
}

const QStringList demoTargets{"disk4s2 Volumes/UNTITLED", "disk6s1 Volumes/SDCARD",
                              "disk7s2 Volumes/Backup"};

} // namespace

class DiskTargetsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StandInWorld> m_world;
    const StandInWorld &world() const { return *m_world; }

private slots:
    void initTestCase() { qputenv("TESSALINE_STANDIN_SPEED", "0"); }
    void init()
    {
        Timing timing = quickTiming();
        timing.diskToolLimit = 300ms;
        timing.protectionStatusLimit = 300ms;
        timing.terminationGrace = 200ms;
        Timing::setCurrent(timing);
        m_world = std::make_unique<StandInWorld>();
        QVERIFY(m_world->isValid());
    }
    void cleanup() { m_world.reset(); }

    // Offered are mounted, physical, writable, external or removable volumes off the startup
    // disk, whether found through the listing or through the volumes folder.
    void offeredVolumes_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<bool>("listingFails");
        QTest::addColumn<QStringList>("targets");
        for (const bool fails : {false, true}) {
            const auto row = [&](const char *name, Layout layout, const QStringList &targets) {
                QTest::addRow("%s, %s", name, fails ? "volumes folder" : "listing")
                    << layout << fails << targets;
            };
            row("namesakes", Layout::namesakes,
                demoTargets + QStringList{"disk8s2 Volumes/Data 1"});
            row("read-write disk image", Layout::diskImage, demoTargets);
            row("external boot disk", Layout::externalBoot, demoTargets);
            row("stale folder", Layout::staleFolder, demoTargets);
            row("read-only stick", Layout::readOnly, demoTargets);
        }
    }
    void offeredVolumes()
    {
        QFETCH(Layout, layout);
        QFETCH(bool, listingFails);
        arrange(world(), layout);
        if (listingFails)
            failListing(world());
        QStringList targets = offered(world());
        QTEST(targets, "targets");
    }

    // Confirmation just before erasing: what changed since the listing is refused in words.
    void confirmation_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("volume");
        QTest::addColumn<QString>("refusal");
        const QString nothing = " Nothing was erased.";
        QTest::newRow("namesake stick") << Layout::namesakes << "disk8s2"
                                        << "Data 1" << QString();
        QTest::newRow("internal namesake taken for the stick")
            << Layout::namesakes << "disk8s2"
            << "Data"
            << "The volume at @/Volumes/Data is now disk2s2, not the selected disk8s2." + nothing;
        QTest::newRow("disk image")
            << Layout::diskImage << "disk9s2"
            << "Scratch"
            << "disk9s2 at @/Volumes/Scratch cannot be erased: it is a disk image." + nothing;
        QTest::newRow("stale folder")
            << Layout::staleFolder << "disk4s2"
            << "OldStick"
            << "No volume is mounted at @/Volumes/OldStick any more." + nothing;
        QTest::newRow("boot link")
            << Layout::externalBoot << "disk8s2"
            << "External Boot"
            << "No volume is mounted at @/Volumes/External Boot any more." + nothing;
        QTest::newRow("other volume of the boot disk")
            << Layout::externalBoot << "disk8s3"
            << "Stuff"
            << "disk8s3 at @/Volumes/Stuff cannot be erased: it is on the disk this Mac started "
               "up from." +
                   nothing;
        QTest::newRow("read-only")
            << Layout::readOnly << "disk9s2"
            << "LOCKED"
            << "disk9s2 at @/Volumes/LOCKED cannot be erased: it is read-only." + nothing;
    }
    void confirmation()
    {
        QFETCH(Layout, layout);
        QFETCH(QString, device);
        QFETCH(QString, volume);
        QFETCH(QString, refusal);
        arrange(world(), layout);
        const DiskInfo target(device, volume, world().path("Volumes/" + volume), 1, 1, true);
        const auto answer = DiskUtility::confirmTarget(target);
        QCOMPARE(answer.value_or(QString()), refusal.replace("@", world().root()));
    }

    // The stick is swapped between the listing and "Erase and Create", on both paths: the run
    // fails with the reason and createinstallmedia never runs.
    void swappedStick_data()
    {
        QTest::addColumn<bool>("protection");
        QTest::newRow("system prompt") << false;
        QTest::newRow("terminal") << true;
    }
    void swappedStick()
    {
        QFETCH(bool, protection);
        writeJson(world().path("var/standin/protection.json"),
                  {{"status", protection ? "enabled" : "disabled"}});
        AppState state;
        QVERIFY(choose(state, "disk4s2"));
        QFile note(world().path("Volumes/UNTITLED/notes.txt"));
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.close();

        Disks disks{world()};
        disks.remove("disk4");
        disks.add(stick("disk10", "UNTITLED", "/Volumes/UNTITLED", "UUID-OTHER"));
        disks.save();

        state.createBootableUSB();
        state.isShowingAlert = false;
        state.alertPrimaryButton().action();
        if (protection) {
            QTRY_VERIFY(state.isWaitingForPassword());
            state.executeTerminalCommand(secretOf(QStringLiteral("tessaline")));
        }
        QTRY_VERIFY(state.progressInfo().isComplete);
        const QString refusal = "The volume at " + world().path("Volumes/UNTITLED") +
                                " is now disk10s2, not the selected disk4s2. Nothing was erased.";
        QCOMPARE(state.progressInfo().errorMessage, std::optional(refusal));
        QVERIFY(!state.progressInfo().success);
        QTRY_VERIFY(state.progressInfo().isComplete && !state.hasJob());
        if (protection)
            QVERIFY(state.terminalOutput().endsWith(u'\n' + refusal + u'\n'));
        QVERIFY(QFileInfo::exists(world().path("Volumes/UNTITLED/notes.txt")));
        QVERIFY(logged(world(), "createinstallmedia").isEmpty());
        QVERIFY(logged(world(), "sudo").isEmpty());
    }

    // Of two volumes named "Data" the stick is erased; the internal one keeps its file.
    void namesakeErase()
    {
        writeJson(world().path("var/standin/protection.json"), {{"status", "disabled"}});
        arrange(world(), Layout::namesakes);
        AppState state;
        QVERIFY(choose(state, "disk8s2"));
        QCOMPARE(state.selectedDisk()->mountPoint, world().path("Volumes/Data 1"));
        state.createBootableUSB();
        state.isShowingAlert = false;
        state.alertPrimaryButton().action();
        QTRY_VERIFY_WITH_TIMEOUT(state.progressInfo().isComplete, 20000);
        QVERIFY2(state.progressInfo().success,
                 qPrintable(state.progressInfo().errorMessage.value_or(QString())));
        QVERIFY(QFileInfo::exists(world().path("Volumes/Data/keep.txt")));
        QVERIFY(!QFileInfo::exists(world().path("Volumes/Data 1")));
        QTRY_VERIFY(state.progressInfo().isComplete && !state.hasJob());
    }

    // A volume holding the selected installer is never erased for it; a drive far larger than
    // an installer needs is named in the question before anything is erased.
    void sourceVolumeAndLargeDrive()
    {
        const QString onStick = world().path("Volumes/SDCARD/Install macOS Sequoia.app");
        QVERIFY(QDir().rename(world().path("Applications/Install macOS Sequoia.app"), onStick));
        AppState state;
        QVERIFY(choose(state, "disk6s1"));
        state.selectedInstaller = InstallerApp::fromBundle(QUrl::fromLocalFile(onStick));
        QVERIFY(state.selectedInstaller());
        const DiskInfo stick = *state.selectedDisk();
        QCOMPARE(state.whyNotTarget(stick), std::optional<QString>("holds the selected installer"));
        state.createBootableUSB();
        QCOMPARE(state.alertTitle(), "Cannot Use This Volume");
        QCOMPARE(state.alertMessage(), "'SDCARD' holds the installer 'Install macOS Sequoia'. "
                                       "Choose another volume, or copy the installer to "
                                       "Applications first.");
        QVERIFY(!state.hasJob() && QFileInfo::exists(onStick));
        state.isShowingAlert = false;

        for (const DiskInfo &disk : state.availableDisks()) {
            QVERIFY(!state.whyNotTarget(disk) || disk.deviceIdentifier == "disk6s1");
            if (disk.deviceIdentifier == "disk7s2")
                state.selectedDisk = disk;
        }
        state.createBootableUSB();
        QCOMPARE(state.alertTitle(), "Warning");
        QVERIFY2(state.alertMessage().endsWith("'Backup' is unusually large for an installer (" +
                                               state.selectedDisk()->formattedSize() +
                                               "): make sure it is the drive you mean to erase."),
                 qPrintable(state.alertMessage()));
        state.isShowingAlert = false;
        for (const DiskInfo &disk : state.availableDisks())
            if (disk.deviceIdentifier == "disk4s2")
                state.selectedDisk = disk;
        state.createBootableUSB();
        QVERIFY(!state.alertMessage().contains("unusually large"));
    }

    // An older stick already holds "Install macOS Sequoia": the new one is found on the selected
    // disk by its device (and gets the icon), and a tool that only claims success fails however
    // much the other stick looks the part.
    void installerVolumeFoundOnTheTarget_data()
    {
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("staleInstaller");
        QTest::newRow("written") << true << false;
        QTest::newRow("success claimed, nothing written") << false << false;
        // The stick held an installer from before: a volume that was never erased does not count.
        QTest::newRow("success claimed over an old installer") << false << true;
    }
    void installerVolumeFoundOnTheTarget()
    {
        QFETCH(bool, writes);
        QFETCH(bool, staleInstaller);
        const auto plantInstaller = [](const QString &volume) {
            QVERIFY(QDir().mkpath(volume + "/Install macOS Sequoia.app/Contents"));
            QFile plist(volume + "/Install macOS Sequoia.app/Contents/Info.plist");
            QVERIFY(plist.open(QIODevice::WriteOnly));
        };
        writeJson(world().path("var/standin/protection.json"), {{"status", "disabled"}});
        Disks disks{world()};
        disks.add(stick("disk9", "Install macOS Sequoia", "/Volumes/Install macOS Sequoia",
                        "UUID-OLD-STICK"));
        disks.save();
        const QString oldStick = world().path("Volumes/Install macOS Sequoia");
        plantInstaller(oldStick);
        if (staleInstaller)
            plantInstaller(world().path("Volumes/UNTITLED"));
        const QString tool =
            "Applications/Install macOS Sequoia.app/Contents/Resources/createinstallmedia";
        if (!writes)
            world().replaceTool(tool, "echo 'Install media now available at \"$2\"'");
        AppState state;
        QVERIFY(choose(state, "disk4s2", "Install macOS Sequoia"));
        state.createBootableUSB();
        state.isShowingAlert = false;
        state.alertPrimaryButton().action();
        QTRY_VERIFY_WITH_TIMEOUT(state.progressInfo().isComplete, 20000);
        const ProgressInfo progress = state.progressInfo();
        const QString newStick = world().path("Volumes/Install macOS Sequoia 1");
        if (writes) {
            QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(QString())));
            QCOMPARE(progress.outputPath, newStick);
            QTRY_VERIFY(QFileInfo::exists(newStick + "/.VolumeIcon.icns"));
        } else {
            QVERIFY(!progress.success);
            QCOMPARE(progress.errorMessage,
                     std::optional<QString>("createinstallmedia reported success, but no "
                                            "installer volume was found on disk4. The USB drive "
                                            "is not bootable."));
        }
        QTRY_VERIFY(state.progressInfo().isComplete && !state.hasJob());
        QVERIFY(!QFileInfo::exists(oldStick + "/.VolumeIcon.icns"));
    }

    // "Shared Support" goes only where diskutil says a disk image is mounted there.
    void sharedSupport_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("ejected");
        QTest::newRow("the installer's image") << 0 << 1;
        QTest::newRow("stale folder") << 1 << 0;
        QTest::newRow("a stick of that name") << 2 << 0;
    }
    void sharedSupport()
    {
        QFETCH(int, change);
        Disks disks{world()};
        if (change > 0)
            disks.remove("disk5");
        if (change == 2)
            disks.add(stick("disk9", "Shared Support", "/Volumes/Shared Support", "UUID-SS"));
        disks.save();
        std::atomic_int count = -1;
        DiskUtility::ejectSharedSupportVolumes(
            [&](const DiskUtility::EjectResult &result) { count = std::get<int>(result); });
        QTRY_VERIFY(count >= 0);
        QTEST(int(count), "ejected");
        QCOMPARE(logged(world(), "diskutil").filter("\"eject\"").size(), int(count));
    }

    // A hung diskutil ends the scan, and a hung csrutil the status check, within the limit.
    void hungTools_data()
    {
        QTest::addColumn<QByteArray>("diskutil");
        QTest::addColumn<bool>("confirmationHangs");
        const QByteArray passOn = "\nexec \"$TESSALINE_STANDIN\" diskutil \"$@\"";
        QTest::newRow("every call") << QByteArray("sleep 30") << true;
        QTest::newRow("the listing only")
            << "[ \"$*\" = 'list -plist' ] && sleep 30" + passOn << false;
        QTest::newRow("a volume's info")
            << "[ \"$*\" = 'info -plist disk4s2' ] && sleep 30" + passOn << true;
    }
    void hungTools()
    {
        QFETCH(QByteArray, diskutil);
        world().replaceTool("usr/sbin/diskutil", diskutil);
        QElapsedTimer clock;
        clock.start();
        DiskUtility::DiskListResult result;
        offered(world(), &result);
        const auto *failure = std::get_if<DiskUtilityError>(&result);
        QVERIFY(failure);
        QCOMPARE(failure->description(), "diskutil did not answer within 0.3 seconds");
        QVERIFY(clock.elapsed() < 3000);
        const auto refusal = DiskUtility::confirmTarget(
            DiskInfo("disk4s2", "UNTITLED", world().path("Volumes/UNTITLED"), 1, 1, true));
        QTEST(refusal.has_value(), "confirmationHangs");
        QVERIFY(!refusal ||
                refusal->endsWith("did not answer within 0.3 seconds. Nothing was erased."));
    }
    void hungCsrutil()
    {
        world().replaceTool("usr/bin/csrutil", "echo 'System Integrity Protection status: "
                                               "disabled.'; sleep 30");
        QElapsedTimer clock;
        clock.start();
        std::optional<bool> enabled;
        DiskUtility::checkSIPStatus([&](bool answer) { enabled = answer; });
        QTRY_VERIFY(enabled.has_value());
        QVERIFY(*enabled);
        QVERIFY(clock.elapsed() < 3000);
    }
};

QTEST_MAIN(DiskTargetsTest)
#include "tst_disktargets.moc"
