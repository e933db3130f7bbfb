#include "state/AppState.h"
#include "support/CapturedOutput.h"
#include "support/StandInWorld.h"

#include <QDir>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

void useQuickTiming()
{
    Timing timing;
    timing.startupRefreshDelay = 24h; // each test starts the work it looks at
    timing.diskReselectionDelay = 100ms;
    Timing::setCurrent(timing);
}

QStringList identifiers(const QList<DiskInfo> &disks)
{
    QStringList result;
    for (const DiskInfo &disk : disks)
        result << disk.deviceIdentifier;
    return result;
}

// Takes the stray Shared Support volume away first, so a new state starts no refresh of its own.
void withoutStrayVolume(const StandInWorld &world)
{
    QCOMPARE(QProcess::execute(world.path(QStringLiteral("usr/sbin/diskutil")),
                               {QStringLiteral("eject"), QStringLiteral("disk5")}),
             0);
}

// Refreshes and waits until the listing has been applied.
void refreshAndWait(AppState &state)
{
    state.refreshDiskList();
    QTRY_VERIFY(state.isLoadingDisks());
    QTRY_VERIFY(!state.isLoadingDisks());
}

} // namespace

class DiskListTest : public QObject {
    Q_OBJECT

private slots:
    void init() { useQuickTiming(); }

    void startEjectsSharedSupportAndLists()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        CapturedOutput output;
        AppState state;
        // Ejecting the stray volume refreshes the list by itself.
        QTRY_VERIFY(!QFileInfo::exists(world.path(QStringLiteral("Volumes/Shared Support"))));
        QTRY_VERIFY(!state.availableDisks().isEmpty());
        QTRY_VERIFY(!state.isLoadingDisks());
        const QStringList lines = output.text().split(u'\n');
        QVERIFY(lines.contains(QStringLiteral("Disk loading: Starting disk scan - 5.0%")));
        QVERIFY(
            lines.contains(QStringLiteral("Successfully ejected Shared Support volume: disk5s1")));
        const QString last = QStringLiteral("Disk loading: Disk scan complete, found %1 removable "
                                            "disks - 100.0%")
                                 .arg(state.availableDisks().size());
        QVERIFY2(lines.contains(last), qPrintable(last));
        QVERIFY(identifiers(state.availableDisks()).contains(QStringLiteral("disk4s2")));
    }

    void selectionFollowsTheDevice()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        withoutStrayVolume(world);
        AppState state;
        refreshAndWait(state);
        const auto stick = std::find_if(
            state.availableDisks().begin(), state.availableDisks().end(),
            [](const DiskInfo &disk) { return disk.deviceIdentifier == QLatin1String("disk4s2"); });
        QVERIFY(stick != state.availableDisks().end());
        const DiskInfo chosen = *stick;
        state.selectedDisk = chosen;

        // Still attached: the fresh record of the same device is selected a moment later.
        refreshAndWait(state);
        QCOMPARE(state.selectedDisk()->id, chosen.id);
        QTRY_VERIFY(state.selectedDisk()->id != chosen.id);
        QCOMPARE(state.selectedDisk()->deviceIdentifier, QStringLiteral("disk4s2"));

        // Unplugged: the list loses it, the selection keeps its last record.
        const DiskInfo last = *state.selectedDisk();
        QVERIFY(QProcess::execute(world.path(QStringLiteral("usr/sbin/diskutil")),
                                  {QStringLiteral("eject"), QStringLiteral("disk4")}) == 0);
        refreshAndWait(state);
        QVERIFY(!identifiers(state.availableDisks()).contains(QStringLiteral("disk4s2")));
        QTest::qWait(300);
        QCOMPARE(state.selectedDisk()->id, last.id);
    }

    void ejectingTheSelectedDiskClearsTheSelection()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        withoutStrayVolume(world);
        AppState state;
        refreshAndWait(state);
        const DiskInfo stick = *std::find_if(
            state.availableDisks().begin(), state.availableDisks().end(),
            [](const DiskInfo &disk) { return disk.deviceIdentifier == QLatin1String("disk4s2"); });
        state.selectedDisk = stick;
        state.ejectDisk(stick);
        QVERIFY(state.isLoadingDisks());
        QTRY_VERIFY(!state.selectedDisk());
        QTRY_VERIFY(!identifiers(state.availableDisks()).contains(QStringLiteral("disk4s2")));
        QVERIFY(!state.isShowingAlert());
        QVERIFY(!QFileInfo::exists(world.path(QStringLiteral("Volumes/UNTITLED"))));
    }

    void failuresAreReported()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        withoutStrayVolume(world);
        AppState state;
        refreshAndWait(state);
        const DiskInfo stick = *std::find_if(
            state.availableDisks().begin(), state.availableDisks().end(),
            [](const DiskInfo &disk) { return disk.deviceIdentifier == QLatin1String("disk4s2"); });
        state.selectedDisk = stick;

        // A busy volume cannot be ejected: the alert says why and nothing else changes.
        QFile busy(world.path(QStringLiteral("Volumes/UNTITLED/.standin-busy")));
        QVERIFY(busy.open(QIODevice::WriteOnly));
        busy.close();
        state.ejectDisk(stick);
        QTRY_VERIFY(state.isShowingAlert());
        QCOMPARE(state.alertTitle(), QStringLiteral("Eject Error"));
        QVERIFY(state.alertMessage().startsWith(QStringLiteral("Failed to eject disk: ")));
        QCOMPARE(state.selectedDisk()->id, stick.id);
        QVERIFY(!state.isLoadingDisks());

        // No disk tool at all: the listing fails with an alert and keeps what was there.
        const QList<DiskInfo> before = state.availableDisks();
        state.isShowingAlert = false;
        world.removeTool(QStringLiteral("usr/sbin/diskutil"));
        refreshAndWait(state);
        QCOMPARE(state.alertTitle(), QStringLiteral("Disk Error"));
        QVERIFY(state.alertMessage().startsWith(QStringLiteral("Failed to get disk list: ")));
        QCOMPARE(identifiers(state.availableDisks()), identifiers(before));
    }
};

QTEST_MAIN(DiskListTest)
#include "tst_disklist.moc"
