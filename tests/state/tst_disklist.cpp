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

bool diskutil(const StandInWorld &world, const QStringList &arguments)
{
    return QProcess::execute(world.path("usr/sbin/diskutil"), arguments) == 0;
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
    for (const DiskInfo &disk : state.availableDisks())
        if (disk.deviceIdentifier == "disk4s2")
            state.selectedDisk = disk;
    return state.selectedDisk().value_or(DiskInfo());
}

} // namespace

// Every test but the first takes the stray Shared Support volume away first, so a new state
// starts no refresh of its own.
class DiskListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StandInWorld> m_world;
    const StandInWorld &world() const { return *m_world; }

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
    void cleanup() { m_world.reset(); }

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
