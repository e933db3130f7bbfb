#include "World.h"
#include "state/AppState.h"
#include "support/CapturedOutput.h"
#include "support/StandInWorld.h"

#include <QtTest>

using namespace std::chrono_literals;

namespace {

QStringList identifiers(const QList<DiskInfo> &disks)
{
    QStringList result;
    for (const DiskInfo &disk : disks)
        result << disk.deviceIdentifier;
    return result;
}

std::optional<DiskInfo> listedDisk(const AppState &state, const QString &device)
{
    for (const DiskInfo &disk : state.availableDisks())
        if (disk.deviceIdentifier == device)
            return disk;
    return std::nullopt;
}

// Counts the listings that arrive at the state, each with records of its own, and sees whether
// the loading state showed meanwhile. The lists here are never empty.
struct ListingsSeen {
    explicit ListingsSeen(const AppState &state) : first(state.availableDisks().first().id)
    {
        QObject::connect(&state, &AppState::changed, &context, [this, &state] {
            loadingShown = loadingShown || state.isLoadingDisks();
            const QUuid now = state.availableDisks().first().id;
            count += std::exchange(first, now) != now;
        });
    }
    QObject context;
    QUuid first;
    int count = 0;
    bool loadingShown = false;
};

// Plugs in, as the stand-in's tools record a disk, by replacing the layout file, a copy of the
// world's stick as disk8 with its volume STICK; or takes it out again.
bool plugSecondStick(const World &world, bool in)
{
    QByteArray stick;
    for (const QJsonValue &disk : world.disks())
        if (disk[u"DeviceIdentifier"].toString() == u"disk4")
            stick = QJsonDocument(disk.toObject()).toJson();
    stick.replace("disk4", "disk8").replace("UNTITLED", "STICK");
    return world.updateDisks([&](QJsonArray &disks) {
        if (in)
            disks.append(QJsonDocument::fromJson(stick).object());
        else
            disks.removeLast();
        return true;
    });
}

bool diskutil(const StandInWorld &world, const QStringList &arguments)
{
    return world.run("usr/sbin/diskutil", arguments) == 0;
}

// Refreshes and waits until the listing has been applied. A listing that fails at once can
// start and end within one pass of the event loop, so the loading flag is watched as it changes.
void refreshAndWait(AppState &state)
{
    bool loaded = false;
    bool ended = false;
    QObject watcher;
    QObject::connect(&state, &AppState::changed, &watcher, [&] {
        loaded = loaded || state.isLoadingDisks();
        ended = loaded && !state.isLoadingDisks();
    });
    state.refreshDiskList();
    QTRY_VERIFY(ended);
}

// The USB stick's record from a fresh listing, selected.
DiskInfo selectStick(AppState &state)
{
    refreshAndWait(state);
    if (const auto stick = listedDisk(state, "disk4s2"))
        state.selectedDisk = stick;
    return state.selectedDisk().value_or(DiskInfo());
}

} // namespace

// Every test but the first takes the stray Shared Support volume away first, so a new state
// starts no refresh of its own.
class DiskListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StandInWorld> m_world;
    std::unique_ptr<AppState> m_state;
    const StandInWorld &world() const { return *m_world; }

    // Makes the state as the application does: it lists the disks at once, then whenever the
    // volumes have settled for 400 ms. The stray image goes first; the first listing is in.
    void startWatching()
    {
        Timing timing = Timing::current();
        timing.startupRefreshDelay = 0ms;
        timing.volumeChangeSettleDelay = 400ms;
        Timing::setCurrent(timing);
        QVERIFY(diskutil(world(), {"eject", "disk5"}));
        m_state = std::make_unique<AppState>();
        QTRY_VERIFY(listedDisk(*m_state, "disk4s2") && !m_state->isLoadingDisks());
    }

private slots:
    void init()
    {
        Timing timing;
        timing.startupRefreshDelay = 24h; // each test starts the work it looks at
        timing.diskReselectionDelay = 100ms;
        Timing::setCurrent(timing);
        m_world = std::make_unique<StandInWorld>();
        QVERIFY(m_world->isValid());
    }
    void cleanup()
    {
        m_state.reset();
        m_world.reset();
    }

    void startEjectsSharedSupportAndLists()
    {
        CapturedOutput output;
        AppState state;
        // Ejecting the stray volume refreshes the list by itself.
        QTRY_VERIFY(!QFileInfo::exists(world().path("Volumes/Shared Support")));
        QTRY_VERIFY(!state.availableDisks().isEmpty());
        QTRY_VERIFY(!state.isLoadingDisks());
        const QStringList lines = output.text().split(u'\n');
        QVERIFY(lines.contains("Disk loading: Starting disk scan - 5.0%"));
        QVERIFY(lines.contains("Successfully ejected Shared Support volume: disk5s1"));
        const QString last = QString("Disk loading: Disk scan complete, found %1 removable disks - "
                                     "100.0%")
                                 .arg(state.availableDisks().size());
        QVERIFY2(lines.contains(last), qPrintable(last));
        QVERIFY(identifiers(state.availableDisks()).contains("disk4s2"));
    }

    void selectionFollowsTheDevice()
    {
        QVERIFY(diskutil(world(), {"eject", "disk5"}));
        AppState state;
        const DiskInfo chosen = selectStick(state);
        QCOMPARE(chosen.deviceIdentifier, "disk4s2");
        // Still attached: the fresh record of the same device is selected a moment later.
        refreshAndWait(state);
        QCOMPARE(state.selectedDisk()->id, chosen.id);
        QTRY_VERIFY(state.selectedDisk()->id != chosen.id);
        // A record equals, and hashes like, any other of the same device.
        QVERIFY(*state.selectedDisk() == chosen && qHash(*state.selectedDisk()) == qHash(chosen));
        QVERIFY(!(chosen == DiskInfo("disk4s1", chosen.volumeName, chosen.mountPoint, 0, 0, true)));
        // Unplugged: the list loses it, the selection keeps its last record.
        const DiskInfo last = *state.selectedDisk();
        QVERIFY(diskutil(world(), {"eject", "disk4"}));
        refreshAndWait(state);
        QVERIFY(!identifiers(state.availableDisks()).contains("disk4s2"));
        QTest::qWait(300);
        QCOMPARE(state.selectedDisk()->id, last.id);
    }

    // Plugged in, a disk is recorded, its volume mounted and the records written once more: one
    // listing shows it, without the loading state, the stick chosen before still chosen in its
    // new record. Unplugged, its folder left behind, it goes. The layout, replaced again while a
    // reader held the old file, then removed, is watched again when written anew.
    void volumesComeAndGoUnasked()
    {
        startWatching();
        AppState &state = *m_state;
        state.selectedDisk = listedDisk(state, "disk4s2");
        const ListingsSeen listings(state);
        const World stand(world().root());
        QVERIFY(plugSecondStick(stand, true));
        QTest::qWait(100);
        QVERIFY(QDir().mkdir(world().path("Volumes/STICK")));
        QTest::qWait(100);
        QVERIFY(stand.updateDisks([](QJsonArray &) { return true; }));
        QTRY_VERIFY(listedDisk(state, "disk8s2"));
        QCOMPARE(state.selectedDisk()->id, listedDisk(state, "disk4s2")->id);
        QTest::qWait(600); // a second listing would have arrived by now
        QCOMPARE(listings.count, 1);
        QVERIFY(!listings.loadingShown);

        const QJsonArray withStick = stand.disks();
        const QString layout = world().path("var/standin/disks.json");
        QFile reading(layout);
        QVERIFY(reading.open(QIODevice::ReadOnly));
        QVERIFY(plugSecondStick(stand, false));
        QTRY_VERIFY(!listedDisk(state, "disk8s2"));
        QVERIFY(QFile::remove(layout));
        QTest::qWait(800); // its listing, which fails, is over
        world().writeState("disks.json", {{"disks", withStick}});
        QTRY_VERIFY(listedDisk(state, "disk8s2"));
    }

    // A disk chosen while a listing of changed volumes runs stays chosen when it arrives.
    void choiceDuringAQuietListingStays()
    {
        startWatching();
        AppState &state = *m_state;
        state.selectedDisk = listedDisk(state, "disk4s2");
        const QByteArray begun = world().path("tmp/listing-begun").toUtf8();
        world().replaceTool("usr/sbin/diskutil", "[ \"$1\" = list ] && touch '" + begun +
                                                     "' && sleep 1\nexec -a \"$0\" '" +
                                                     qgetenv("TESSALINE_STANDIN") + "' \"$@\"");
        QVERIFY(QDir().mkdir(world().path("Volumes/STICK")));
        QTRY_VERIFY(QFileInfo::exists(begun));
        const DiskInfo card = *listedDisk(state, "disk6s1");
        state.selectedDisk = card;
        QTRY_VERIFY(listedDisk(state, "disk6s1")->id != card.id);
        QTest::qWait(300); // past the delay a listing asked for selects again after
        QCOMPARE(state.selectedDisk()->id, listedDisk(state, "disk6s1")->id);
    }

    // Volumes changed during a media run are listed once it is over: quietly after a run that
    // failed, by the run's own listing after one that succeeded, and then only by that.
    void mediaRunPutsOffTheListing()
    {
        startWatching();
        AppState &state = *m_state;
        const World stand(world().root());
        state.isCreatingMedia = true;
        QVERIFY(plugSecondStick(stand, true));
        QTest::qWait(800);
        QVERIFY(!listedDisk(state, "disk8s2"));
        state.isCreatingMedia = false;
        QTRY_VERIFY(listedDisk(state, "disk8s2"));

        state.isCreatingMedia = true;
        QVERIFY(plugSecondStick(stand, false));
        QTest::qWait(800);
        const ListingsSeen listings(state);
        state.isCreatingMedia = false;
        state.refreshDiskList();
        QTRY_VERIFY(!listedDisk(state, "disk8s2") && !state.isLoadingDisks());
        QTest::qWait(300);
        QCOMPARE(listings.count, 1);
    }

    // A busy volume stays, with an alert saying why; without a disk tool the listing fails with
    // an alert and keeps what was there; a free volume goes, and the selection with it.
    void ejecting()
    {
        QVERIFY(diskutil(world(), {"eject", "disk5"}));
        AppState state;
        const DiskInfo stick = selectStick(state);
        QFile busy(world().path("Volumes/UNTITLED/.standin-busy"));
        QVERIFY(busy.open(QIODevice::WriteOnly));
        state.ejectDisk(stick);
        QTRY_VERIFY(state.isShowingAlert());
        QCOMPARE(state.alertTitle(), "Eject Error");
        QVERIFY(state.alertMessage().startsWith("Failed to eject disk: "));
        QVERIFY(state.selectedDisk()->id == stick.id && !state.isLoadingDisks());
        state.isShowingAlert = false;
        const QStringList before = identifiers(state.availableDisks());
        const QString tool = world().path("usr/sbin/diskutil");
        QVERIFY(QFile::rename(tool, tool + ".away"));
        refreshAndWait(state);
        QCOMPARE(state.alertTitle(), "Disk Error");
        QVERIFY(state.alertMessage().startsWith("Failed to get disk list: "));
        QCOMPARE(identifiers(state.availableDisks()), before);
        state.isShowingAlert = false;
        QVERIFY(QFile::rename(tool + ".away", tool) && busy.remove());
        state.ejectDisk(stick);
        QVERIFY(state.isLoadingDisks());
        QTRY_VERIFY2(!state.selectedDisk(),
                     qPrintable(state.alertTitle() + ": " + state.alertMessage() +
                                (state.isLoadingDisks() ? " (still loading)" : "")));
        QTRY_VERIFY(!identifiers(state.availableDisks()).contains("disk4s2"));
        QVERIFY(!state.isShowingAlert() && !QFileInfo::exists(world().path("Volumes/UNTITLED")));
    }
};

QTEST_MAIN(DiskListTest)
#include "tst_disklist.moc"
