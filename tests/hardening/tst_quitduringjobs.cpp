// Quitting while a job runs: closing the window (and answering Quit) and a termination signal end
// every kind of job within the ten seconds a user waits, with no tool left running and nothing
// left in the Mac's temporary folder or on its desktop. A signal makes the application leave its
// event loop (tst_quitonsignal shows that much); what follows is the same for both: main() stops
// every job and waits for it, as done here.
#include "Leftovers.h"
#include "MainWindow.h"
#include "exec/JobThreads.h"
#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"
#include "support/TestSecret.h"

#include <QElapsedTimer>
#include <QtTest>

class QuitDuringJobsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Leftovers::markProcessTree(); }

    void quitEndsTheJob_data()
    {
        QTest::addColumn<QString>("job");
        QTest::addColumn<bool>("byWindow");
        for (const char *job : {"usb", "usb with terminal", "iso", "package"}) {
            QTest::addRow("%s, window closed", job) << job << true;
            QTest::addRow("%s, termination signal", job) << job << false;
        }
    }

    void quitEndsTheJob()
    {
        QFETCH(QString, job);
        QFETCH(bool, byWindow);
        Timing::setCurrent(quickTiming());
        StandInWorld world;
        QVERIFY(world.isValid());
        // The job's long tool says when it runs, then takes its time.
        const bool package = job == "package";
        const QString pidFile = world.replaceWithHangingTool(
            package ? "usr/sbin/installer"
                    : "Applications/Install macOS Sequoia.app/Contents/Resources/"
                      "createinstallmedia");
        world.writeState("protection.json",
                         {{"status", job == "usb with terminal" ? "enabled" : "disabled"}});

        AppState state;
        MainWindow window(state);
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning() && state.selectedInstaller());
        state.refreshDiskList();
        QTRY_VERIFY(!state.isLoadingDisks() && !state.availableDisks().isEmpty());
        for (const DiskInfo &disk : state.availableDisks())
            if (disk.deviceIdentifier == "disk4s2")
                state.selectedDisk = disk;
        const auto pressPrimary = [&] {
            QVERIFY(state.isShowingAlert());
            state.isShowingAlert = false;
            state.alertPrimaryButton().action();
        };
        if (package) {
            state.handlePKGInstaller(
                QUrl::fromLocalFile(world.path("Downloads/InstallAssistant.pkg")));
            pressPrimary();
        } else if (job == "iso") {
            state.createBootableDMG();
        } else {
            state.createBootableUSB();
            pressPrimary();
            if (job == "usb with terminal") {
                QTRY_VERIFY(state.isWaitingForPassword());
                state.executeTerminalCommand(secretOf("tessaline"));
            }
        }
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(pidFile), 20000);
        QVERIFY(state.hasJob());

        QElapsedTimer clock;
        clock.start();
        if (byWindow) {
            window.show();
            QVERIFY(!window.close());
            QVERIFY(state.alertTitle().startsWith("Quit and stop"));
            pressPrimary();
            QVERIFY(!window.isVisible());
        }
        QVERIFY(JobThreads::stopAll(Timing::current().quitJobLimit));
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(Leftovers::processes(), QStringList(), 3000);
        QCOMPARE(Leftovers::entries(world.path("tmp")), QStringList());
        QCOMPARE(Leftovers::entries(world.path("Desktop")), QStringList());
    }

    // A check outside any job (here the disk list) whose tool hangs does not hold the exit for
    // its own limit either; afterwards, tools run again.
    void quitEndsAHungCheck()
    {
        Timing::setCurrent(quickTiming());
        StandInWorld world;
        QVERIFY(world.isValid());
        const QString pidFile = world.replaceWithHangingTool("usr/sbin/diskutil");
        AppState state;
        state.refreshDiskList();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(pidFile), 20000);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(JobThreads::stopAll(Timing::current().quitJobLimit));
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(Leftovers::processes(), QStringList(), 3000);
        QVERIFY(!Cancellation::outsideJobs()->isRequested());
    }
};

QTEST_MAIN(QuitDuringJobsTest)
#include "tst_quitduringjobs.moc"
