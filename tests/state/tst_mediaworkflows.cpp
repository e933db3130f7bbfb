// The media workflows end to end on a stand-in Mac, driven through AppState as the window
// drives it: confirmations are answered by calling the alert buttons' actions.

#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"
#include "support/TestSecret.h"

#include <QtTest>

using namespace std::chrono_literals;

namespace {

// A state with the world's installers and disks loaded and Sequoia and the USB stick selected.
struct Session {
    AppState state;
    QList<double> shownPercentages;

    Session()
    {
        QObject::connect(&state, &AppState::changed, [this] {
            const double shown = state.progressInfo().percentage;
            if (shownPercentages.isEmpty() || shownPercentages.last() != shown)
                shownPercentages << shown;
        });
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning() && !state.installers().isEmpty());
        state.refreshDiskList();
        QTRY_VERIFY(!state.isLoadingDisks() && !state.availableDisks().isEmpty());
        select("Install macOS Sequoia");
        for (const DiskInfo &disk : state.availableDisks())
            if (disk.deviceIdentifier == "disk4s2")
                state.selectedDisk = disk;
        state.progressInfo = ProgressInfo(); // the scan's finished record is not the run's
        shownPercentages.clear();
    }

    void select(const QString &installerName)
    {
        for (const InstallerApp &installer : state.installers())
            if (installer.name == installerName)
                state.selectedInstaller = installer;
    }
    void pressPrimary()
    {
        QVERIFY(state.isShowingAlert());
        state.isShowingAlert = false;
        state.alertPrimaryButton().action();
    }
    // Waits for the run's record to complete and, unless told not to, for the run to wind down.
    bool finish(bool windDown = true)
    {
        return QTest::qWaitFor([this] { return state.progressInfo().isComplete; }, 20000) &&
               (!windDown || QTest::qWaitFor([this] { return !state.isCreatingMedia(); }));
    }
    bool movedForwardOnly() const
    {
        return std::is_sorted(shownPercentages.begin(), shownPercentages.end());
    }
};

QStringList desktopFiles(const StandInWorld &world)
{
    return QDir(world.path("Desktop")).entryList(QDir::Files);
}

} // namespace

class MediaWorkflowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_workingFolder;
    std::unique_ptr<StandInWorld> m_world;
    const StandInWorld &world() const { return *m_world; }

private slots:
    void initTestCase()
    {
        // The stand-in tools print their progress without pauses, and nothing runs in here.
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        QVERIFY(m_workingFolder.isValid());
        QDir::setCurrent(m_workingFolder.path());
    }
    void init()
    {
        Timing::setCurrent(quickTiming());
        m_world = std::make_unique<StandInWorld>();
        QVERIFY(m_world->isValid());
    }
    void cleanup()
    {
        m_world.reset();
        QVERIFY(!QFileInfo::exists(m_workingFolder.filePath("canary")));
    }

    // A scan that finishes during a run writes its 100 %; the run's next report shows the run's
    // own figure again instead of staying at 100.
    void runOutlivesAFinishedScan_data()
    {
        QTest::addColumn<bool>("iso");
        QTest::newRow("USB") << false;
        QTest::newRow("ISO") << true;
    }
    void runOutlivesAFinishedScan()
    {
        QFETCH(bool, iso);
        world().writeState("protection.json", {{"status", "disabled"}});
        Session session;
        bool scanFinished = false;
        QObject::connect(&session.state, &AppState::changed, [&] {
            if (scanFinished || !session.state.isCreatingMedia() ||
                session.state.progressInfo().percentage <= 0)
                return;
            scanFinished = true;
            session.state.progressInfo.modify(
                [](ProgressInfo &progress) { progress.percentage = 100; });
        });
        if (iso) {
            session.state.createBootableDMG();
        } else {
            session.state.createBootableUSB();
            session.pressPrimary();
        }
        QVERIFY(session.finish());
        QVERIFY(scanFinished);
        QVERIFY2(session.state.progressInfo().success,
                 qPrintable(session.state.progressInfo().errorMessage.value_or(QString())));
        const QList<double> &shown = session.shownPercentages;
        const auto foreign = std::find(shown.begin(), shown.end(), 100.0);
        QVERIFY(foreign != shown.end());
        QVERIFY(std::any_of(foreign, shown.end(), [](double p) { return p < 100; }));
    }

    // A custom configuration, in either era's words, takes the path through sudo and succeeds.
    void usbOnACustomConfiguration_data()
    {
        QTest::addColumn<QString>("status");
        QTest::newRow("up to Mojave") << "custom";
        QTest::newRow("Catalina on") << "custom-unknown";
    }
    void usbOnACustomConfiguration()
    {
        QFETCH(QString, status);
        world().writeState("protection.json", {{"status", status}});
        Session session;
        session.state.createBootableUSB();
        session.pressPrimary();
        QTRY_VERIFY(session.state.isWaitingForPassword());
        session.state.executeTerminalCommand(secretOf("tessaline"));
        QVERIFY(session.finish());
        QVERIFY2(session.state.progressInfo().success,
                 qPrintable(session.state.progressInfo().errorMessage.value_or(QString())));
        QVERIFY(session.movedForwardOnly());
    }

    void usbWithTheSystemPrompt_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::newRow("granted") << "grant";
        QTest::newRow("refused") << "cancel";
    }
    // The installer's bundle has a hostile file name, which must reach createinstallmedia as one
    // word and run nothing (no canary may appear).
    void usbWithTheSystemPrompt()
    {
        QFETCH(QString, prompt);
        world().writeState("protection.json", {{"status", "disabled"}});
        world().writeState("admin.json", {{"prompt", prompt}});
        const QString hostile = "Install macOS it's \"new\" $(touch canary) `touch canary`.app";
        const QString applications = world().path("Applications/");
        QVERIFY(QDir().rename(applications + "Install macOS Sequoia.app", applications + hostile));
        Session session;
        QCOMPARE(session.state.selectedInstaller()->url.fileName(), hostile);
        session.state.createBootableUSB();
        QCOMPARE(session.state.alertTitle(), "Warning");
        QCOMPARE(session.state.alertMessage(), "This will erase all data on 'UNTITLED' (disk4s2). "
                                               "Are you sure you want to continue?");
        QCOMPARE(session.state.alertPrimaryButton().style, AlertButton::Style::destructive);
        session.pressPrimary();
        QVERIFY(session.finish());
        const ProgressInfo &progress = session.state.progressInfo();
        QVERIFY(!session.state.isSIPEnabled());
        if (prompt == "cancel") {
            QCOMPARE(progress.message, "USB creation failed");
            QCOMPARE(progress.errorMessage,
                     std::optional<QString>("Admin privileges required but not granted"));
            QVERIFY(QFileInfo(world().path("Volumes/UNTITLED")).isDir());
            return;
        }
        QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(progress.message)));
        QCOMPARE(progress.message, "Bootable USB creation successful!");
        QVERIFY(session.movedForwardOnly());
        const QString volume = world().path("Volumes/Install macOS Sequoia");
        QVERIFY(QFileInfo(volume).isDir());
        QTRY_VERIFY(QFileInfo::exists(volume + "/.VolumeIcon.icns"));
        QVERIFY(!QFileInfo::exists(world().path("Volumes/Shared Support")));
        QTRY_VERIFY(volumeNames(session.state).contains("Install macOS Sequoia"));
    }

    // A run that takes longer than the wait for rights is not ended by it, and its progress is
    // seen while it runs, though osascript hands back nothing before the end.
    void usbWithTheSystemPromptOutlastsTheRightsWait()
    {
        Timing timing = quickTiming();
        timing.adminRightsWait = std::chrono::milliseconds(400);
        Timing::setCurrent(timing);
        // The tool takes a second more after its last word.
        const QString tool = "Applications/Install macOS Sequoia.app/Contents/Resources/"
                             "createinstallmedia";
        QVERIFY(QDir().mkpath(QFileInfo(world().path(tool)).path() + "/real"));
        QVERIFY(QFile::link(qEnvironmentVariable("TESSALINE_STANDIN"),
                            QFileInfo(world().path(tool)).path() + "/real/createinstallmedia"));
        world().replaceTool(tool, "\"$(dirname \"$0\")/real/createinstallmedia\" \"$@\"\n"
                                  "status=$?\nsleep 1\nexit $status");
        world().writeState("protection.json", {{"status", "disabled"}});
        world().writeState("admin.json", {{"delay", 0.2}});
        Session session;
        QElapsedTimer clock;
        qint64 copySeen = -1;
        QObject::connect(&session.state, &AppState::changed, [&] {
            const double shown = session.state.progressInfo().percentage;
            if (copySeen < 0 && shown > 20 && shown < 90)
                copySeen = clock.elapsed();
        });
        session.state.createBootableUSB();
        clock.start();
        session.pressPrimary();
        QVERIFY(session.finish());
        const ProgressInfo &progress = session.state.progressInfo();
        QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(progress.message)));
        QVERIFY(session.movedForwardOnly());
        QVERIFY2(clock.elapsed() > 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(copySeen >= 0 && copySeen < clock.elapsed() - 500,
                 qPrintable(QString::number(copySeen)));
    }

    // Whichever way the tool fails, on each path, the run fails with the tool's own words.
    void failuresSayWhatTheToolSaid_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("said");
        const QList<std::pair<const char *, const char *>> failures{
            {"erase", "An error occurred erasing the disk."},
            {"apfs", "APFS disks may not be used as bootable install media."},
            {"copy", "The copy of the installer app failed."},
            {"bless", "The bless of the installer disk failed."},
            {"too-small", "An additional 54.5 MB is needed."},
        };
        for (const char *path : {"prompt", "terminal", "image"})
            for (const auto &[failure, said] : failures)
                QTest::addRow("%s, %s", path, failure)
                    << QString(path) << QString(failure) << QString(said);
    }
    void failuresSayWhatTheToolSaid()
    {
        QFETCH(QString, path);
        QFETCH(QString, failure);
        QFETCH(QString, said);
        world().writeState("protection.json",
                           {{"status", path == "terminal" ? "enabled" : "disabled"}});
        world().writeState("createinstallmedia.json", {{"fail", failure}});
        Session session;
        if (path == "image") {
            session.state.createBootableDMG();
        } else {
            session.state.createBootableUSB();
            session.pressPrimary();
        }
        if (path == "terminal") {
            QTRY_VERIFY(session.state.isWaitingForPassword());
            session.state.executeTerminalCommand(secretOf("tessaline"));
        }
        QVERIFY(session.finish());
        const ProgressInfo &progress = session.state.progressInfo();
        QVERIFY(!progress.success);
        QVERIFY(session.movedForwardOnly());
        QVERIFY2(progress.errorMessage.value_or(QString()).contains(said),
                 qPrintable(progress.errorMessage.value_or(progress.message)));
    }

    void usbThroughTheTerminal()
    {
        Session session;
        session.state.createBootableUSB();
        session.pressPrimary();
        QTRY_VERIFY(session.state.isWaitingForPassword());
        QVERIFY(session.state.isSIPEnabled() && session.state.isShowingTerminalOverlay());
        const QString command =
            QString("sudo '%1/Applications/Install macOS Sequoia.app/Contents/Resources/"
                    "createinstallmedia' --volume %1/Volumes/UNTITLED --nointeraction")
                .arg(world().root());
        QCOMPARE(session.state.terminalCommand(), command);
        QVERIFY(session.state.terminalOutput().contains("Command: " + command));
        // A wrong password brings the field back; the run ends failed on its own.
        session.state.executeTerminalCommand(secretOf("wrong"));
        QVERIFY(!session.state.isWaitingForPassword());
        QTRY_VERIFY(session.state.isWaitingForPassword());
        QTRY_VERIFY(session.state.progressInfo().isComplete);
        QVERIFY(
            session.state.terminalOutput().contains("\nPassword incorrect. Please try again.\n"));
        // The run ends with what sudo said, not a bare status.
        QVERIFY(session.state.progressInfo().errorMessage.value_or(QString()).endsWith(
            "sudo: 1 incorrect password attempt"));
        QVERIFY(!session.state.terminalOutput().contains("wrong"));
        session.shownPercentages.clear();
        session.state.executeTerminalCommand(secretOf("tessaline"));
        // The output's last line completes the record before the command's status arrives, and
        // the failed first try already cleared isCreatingMedia: only the final message tells.
        QTRY_COMPARE_WITH_TIMEOUT(session.state.progressInfo().message,
                                  "USB creation completed successfully", 20000);
        QVERIFY(!session.state.isCreatingMedia());
        QVERIFY(session.movedForwardOnly());
        QVERIFY(QFileInfo(world().path("Volumes/Install macOS Sequoia")).isDir());
        QVERIFY(!session.state.terminalOutput().contains("tessaline\n"));
    }

    void isoOnTheDesktop_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("said");
        QTest::newRow("success") << QString() << QString();
        QTest::newRow("conversion fails")
            << "convert"
            << "Failed to convert DMG to ISO: hdiutil: convert failed";
        // Unmounted but held by something: the image cannot be converted, so the run stops there.
        QTest::newRow("image stays attached")
            << "detach"
            << "Failed to unmount DMG: hdiutil: couldn't eject \"disk8\"";
    }
    void isoOnTheDesktop()
    {
        QFETCH(QString, failure);
        QFETCH(QString, said);
        if (failure == "convert")
            world().replaceTool("usr/bin/hdiutil",
                                "if [ \"$1\" = convert ]; then echo 'hdiutil: convert failed - No "
                                "space left on device' >&2; exit 1; fi\n"
                                "exec \"$TESSALINE_STANDIN\" hdiutil \"$@\"");
        if (failure == "detach")
            world().writeState("hdiutil.json", {{"detach", "unmount-only"}});
        Session session;
        session.state.createBootableDMG();
        QVERIFY(!session.state.isShowingAlert());
        QVERIFY(session.finish());
        const ProgressInfo &progress = session.state.progressInfo();
        if (!failure.isEmpty()) {
            QVERIFY(!progress.success && !session.state.successProcessed);
            QVERIFY2(progress.errorMessage->startsWith("Command failed: " + said),
                     qPrintable(*progress.errorMessage));
            QVERIFY(desktopFiles(world()).contains("Install macOS Sequoia.dmg"));
            QVERIFY(progress.detailMessage.contains("Install macOS Sequoia.dmg"));
            return;
        }
        QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(progress.message)));
        QCOMPARE(progress.message, "ISO creation complete!");
        QCOMPARE(desktopFiles(world()), QStringList{"Install macOS Sequoia.iso"});
        QCOMPARE(progress.outputPath, world().path("Desktop/Install macOS Sequoia.iso"));
        QVERIFY(session.movedForwardOnly());
    }

    // The question names the files the run replaces, and the run makes the installer it showed.
    void isoReplacesOnlyWhenAsked()
    {
        Session session;
        QFile old(world().path("Desktop/Install macOS Sequoia.dmg"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        session.state.createBootableDMG();
        QCOMPARE(session.state.alertTitle(), "File Already Exists");
        QCOMPARE(session.state.alertMessage(),
                 "A DMG or ISO file with the name 'Install macOS Sequoia' already exists on your "
                 "desktop. Do you want to replace it?");
        QVERIFY(!session.state.isCreatingMedia());
        session.select("Install macOS Sonoma");
        session.pressPrimary();
        QVERIFY(session.finish(false) && session.state.progressInfo().success);
        QCOMPARE(desktopFiles(world()), QStringList{"Install macOS Sequoia.iso"});
    }

    void packageInstalledAutomatically()
    {
        Session session;
        const QStringList before = QDir(world().path("Applications")).entryList();
        session.state.handlePKGInstaller(QUrl::fromLocalFile(packagePath()));
        QCOMPARE(session.state.alertTitle(), "Install Package");
        QCOMPARE(session.state.alertSecondaryButton()->label, "Open in Installer");
        session.pressPrimary();
        QVERIFY(session.state.isInstallingPKG());
        QTRY_VERIFY_WITH_TIMEOUT(!session.state.isInstallingPKG() && !session.state.isScanning(),
                                 20000);
        QCOMPARE(session.state.progressInfo().message, "Operation completed successfully");
        const QStringList after = QDir(world().path("Applications")).entryList();
        QCOMPARE(after.size(), before.size() + 1);
        QVERIFY(!before.contains(session.state.selectedInstaller()->url.fileName()));
        QVERIFY(!QFileInfo::exists(world().path("tmp/PKGInstall")));
    }

    void packageRefusedOffersTheInstaller()
    {
        world().writeState("admin.json", {{"prompt", "cancel"}});
        Session session;
        session.state.installPKGAutomated(QUrl::fromLocalFile(packagePath()));
        QTRY_VERIFY(session.state.isShowingAlert());
        QCOMPARE(session.state.alertTitle(), "Installation Error");
        QVERIFY(session.state.progressInfo().errorMessage->startsWith("Installation failed: "));
        QVERIFY(!session.state.isInstallingPKG());
        session.pressPrimary();
        QTRY_COMPARE(session.state.alertTitle(), "Installing Package");
        QFile log(world().path("var/standin/open.log"));
        QTRY_VERIFY(log.exists());
        QVERIFY(log.open(QIODevice::ReadOnly));
        // The user's own file, not the temporary copy.
        QVERIFY(log.readAll().contains(packagePath().toUtf8()));
    }

private:
    QString packagePath() const { return world().path("Downloads/InstallAssistant.pkg"); }
    static QStringList volumeNames(const AppState &state)
    {
        QStringList names;
        for (const DiskInfo &disk : state.availableDisks())
            names << disk.volumeName;
        return names;
    }
};

QTEST_MAIN(MediaWorkflowsTest)
#include "tst_mediaworkflows.moc"
