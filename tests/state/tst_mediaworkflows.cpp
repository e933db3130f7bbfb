// The media workflows end to end on a stand-in Mac, driven through AppState as the window
// drives it: confirmations are answered by calling the alert buttons' actions.

#include "state/AppState.h"
#include "support/CapturedOutput.h"
#include "support/MediaSession.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"
#include "support/TestSecret.h"

#include <QtTest>

#include <csignal>

using namespace std::chrono_literals;

namespace {

QStringList desktopFiles(const StandInWorld &world)
{
    return QDir(world.path("Desktop")).entryList(QDir::Files);
}

// Whether the process `pid` still runs: not gone, nor a zombie that only its reaper (maybe not
// this process) can clear.
bool isRunning(const QByteArray &pid)
{
    QFile stat("/proc/" + pid + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) != "Z";
}

// The arguments of the world's caffeinate runs still going; with `waiting`, only of those that
// catch the signals that end them by now, so that they record their end however it comes.
QList<QStringList> caffeinateRuns(const StandInWorld &world, bool waiting = false)
{
    const QString tool = world.path("usr/bin/caffeinate");
    QList<QStringList> runs;
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile commandLine("/proc/" + pid + "/cmdline");
        if (!commandLine.open(QIODevice::ReadOnly))
            continue;
        const QStringList argv =
            QString::fromUtf8(commandLine.readAll()).split(QChar(0), Qt::SkipEmptyParts);
        if (argv.value(0) != tool || !isRunning(pid.toUtf8()))
            continue;
        QFile status("/proc/" + pid + "/status");
        quint64 caught = 0;
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("SigCgt:"))
                    caught = line.mid(7).trimmed().toULongLong(nullptr, 16);
        if (!waiting || (caught & (quint64(1) << (SIGTERM - 1))))
            runs << argv.mid(1);
    }
    return runs;
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
        MediaSession session;
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
        MediaSession session;
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
        MediaSession session;
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

    void cancelTellsWhatIsLeftOfTheTarget_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QString>("stage");
        QTest::addColumn<QString>("said");
        const QString untouched = "Cancelled. Nothing was erased.";
        const QString erased = "UNTITLED was erased and is incomplete: erase it or make it again";
        QTest::newRow("prompt, before erasing") << false << "ready" << untouched;
        QTest::newRow("prompt, while copying") << false << "copying" << erased;
        QTest::newRow("terminal, at the password") << true << "password" << untouched;
        QTest::newRow("terminal, before erasing") << true << "ready" << untouched;
        QTest::newRow("terminal, while copying") << true << "copying" << erased;
    }

    // Cancel stops the tool and its children at once and says what it left of the stick: asked
    // first only once erasing has begun. While the job runs no other one starts.
    void cancelTellsWhatIsLeftOfTheTarget()
    {
        QFETCH(bool, terminal);
        QFETCH(QString, stage);
        QFETCH(QString, said);
        world().writeState("protection.json", {{"status", terminal ? "enabled" : "disabled"}});
        const QString pidFile = world().path("tool.pid");
        QByteArray script = "echo $$ > '" + pidFile.toUtf8() + "'\necho 'Ready to start.'\n";
        if (stage == "copying")
            script += "echo 'Erasing disk: 0%... 10%... 100%'\necho 'Copying to disk: 10%'\n";
        script += "sleep 60\n";
        world().replaceTool(
            "Applications/Install macOS Sequoia.app/Contents/Resources/createinstallmedia", script);
        MediaSession session;
        session.state.createBootableUSB();
        session.pressPrimary();
        if (terminal) {
            QTRY_VERIFY(session.state.isWaitingForPassword());
            if (stage != "password")
                session.state.executeTerminalCommand(secretOf("tessaline"));
        }
        if (stage != "password") {
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(pidFile), 20000);
            if (stage == "copying")
                QTRY_VERIFY(session.state.jobHasErasedTarget());
        }
        QVERIFY(session.state.hasJob());
        session.state.createBootableDMG();
        session.state.handlePKGInstaller(QUrl::fromLocalFile(packagePath()));
        QVERIFY(!session.state.isShowingAlert() &&
                session.state.jobKind() == AppState::JobKind::usb);

        session.state.requestCancel();
        if (stage == "copying") {
            QCOMPARE(session.state.alertTitle(), "Cancel Operation");
            QVERIFY(session.state.hasJob());
            session.pressPrimary();
        }
        QVERIFY(!session.state.isShowingAlert());
        QVERIFY(session.finish(false));
        QCOMPARE(session.state.progressInfo().errorMessage, std::optional<QString>(said));
        QVERIFY(!session.state.progressInfo().success);
        QTRY_VERIFY(!session.state.hasJob());
        // Shown as cancelled, not failed, with no step left turning.
        QVERIFY(session.state.jobWasCancelled());
        for (const ProgressStep &step : session.state.progressInfo().steps)
            QVERIFY(!step.inProgress);
        if (QFile file(pidFile); file.open(QIODevice::ReadOnly)) {
            const QByteArray pid = file.readAll().trimmed();
            QTRY_VERIFY(!isRunning(pid));
        }
        // The result stays until it is closed.
        QVERIFY(session.state.isCreatingMedia() || session.state.isShowingTerminalOverlay());
    }

    void jobsKeepTheMacAwake_data()
    {
        QTest::addColumn<bool>("iso");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("USB") << false << false;
        QTest::newRow("USB, cancelled") << false << true;
        QTest::newRow("ISO") << true << false;
        QTest::newRow("ISO, cancelled") << true << true;
    }
    // While a job runs, caffeinate keeps the Mac from sleeping idle and watches this process; it
    // is terminated once the job has ended, however it ended, and not before.
    void jobsKeepTheMacAwake()
    {
        QFETCH(bool, iso);
        QFETCH(bool, cancel);
        world().writeState("protection.json", {{"status", "disabled"}});
        // The job's tool waits for the test's word before it does its work.
        const QByteArray held = world().path("held").toUtf8();
        const QByteArray gate = world().path("gate").toUtf8();
        world().replaceTool(iso ? "usr/bin/hdiutil"
                                : "Applications/Install macOS Sequoia.app/Contents/Resources/"
                                  "createinstallmedia",
                            "touch '" + held + "'\nuntil [ -e '" + gate +
                                "' ]; do sleep 0.02; done\nexec -a \"$0\" \"$TESSALINE_STANDIN\" "
                                "\"$@\"");
        // Let go whatever happens, so that the job ends with the test.
        const auto letGo = qScopeGuard([&] { QFile(gate).open(QIODevice::WriteOnly); });
        MediaSession session;
        qint64 completed = 0;
        QObject::connect(&session.state, &AppState::changed, [&] {
            if (!completed && session.state.progressInfo().isComplete)
                completed = QDateTime::currentMSecsSinceEpoch();
        });
        if (iso) {
            session.state.createBootableDMG();
        } else {
            session.state.createBootableUSB();
            session.pressPrimary();
        }
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(held), 20000);
        const QStringList watching{"-i", "-w", QString::number(QCoreApplication::applicationPid())};
        QTRY_COMPARE(caffeinateRuns(world(), true), QList<QStringList>{watching});
        if (cancel)
            session.state.requestCancel();
        else
            QVERIFY(QFile(gate).open(QIODevice::WriteOnly));
        QVERIFY(session.finish(false));
        QCOMPARE(session.state.progressInfo().success, !cancel);
        QTRY_VERIFY(!session.state.hasJob());
        QTRY_COMPARE(caffeinateRuns(world()), QList<QStringList>());
        QFile log(world().path("var/standin/caffeinate.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = log.readAll().split('\n');
        QCOMPARE(lines.size(), 2); // one run, and the end of its line
        const QJsonObject run = QJsonDocument::fromJson(lines[0]).object();
        QCOMPARE(run["argv"].toVariant().toStringList(), QStringList{"caffeinate"} + watching);
        QCOMPARE(run["ended"].toString(), "SIGTERM");
        const QDateTime end = QDateTime::fromString(run["end"].toString(), Qt::ISODateWithMs);
        QVERIFY2(end.toMSecsSinceEpoch() >= completed, qPrintable(run["end"].toString()));
    }

    // Without caffeinate a job runs all the same: the Mac may sleep meanwhile, as a line says.
    void aJobRunsWithoutCaffeinate()
    {
        world().writeState("protection.json", {{"status", "disabled"}});
        world().removeTool("usr/bin/caffeinate");
        MediaSession session;
        CapturedOutput diagnostics;
        session.state.createBootableUSB();
        session.pressPrimary();
        QVERIFY(session.finish());
        QVERIFY(session.state.progressInfo().success);
        const QStringList said = diagnostics.text().split('\n').filter("caffeinate");
        QCOMPARE(said.size(), 1);
        QVERIFY2(
            said[0].startsWith("The Mac may sleep during this job: caffeinate did not start: "),
            qPrintable(said[0]));
    }

    // A job that ends while its cancel question is open replaces the question with its result.
    void anEndingJobTakesTheQuestionsPlace()
    {
        world().writeState("protection.json", {{"status", "disabled"}});
        world().replaceTool(
            "Applications/Install macOS Sequoia.app/Contents/Resources/createinstallmedia",
            "echo 'Erasing disk: 0%... 100%'\nsleep 1\necho 'Done.'\n");
        MediaSession session;
        session.state.createBootableUSB();
        session.pressPrimary();
        QTRY_VERIFY_WITH_TIMEOUT(session.state.jobHasErasedTarget(), 20000);
        session.state.requestCancel();
        QCOMPARE(session.state.alertTitle(), "Cancel Operation");
        QVERIFY(session.finish(false));
        QTRY_VERIFY(!session.state.hasJob());
        QVERIFY(!session.state.isShowingAlert());
    }

    // A run that takes longer than the wait for rights is not ended by it, and its progress is
    // seen while it runs, though osascript hands back nothing before the end.
    void usbWithTheSystemPromptOutlastsTheRightsWait()
    {
        Timing timing = quickTiming();
        timing.adminRightsWait = std::chrono::milliseconds(400);
        Timing::setCurrent(timing);
        // The tool prints its progress in pieces over half a second, as a real run does over
        // minutes (poured out at once, it may all arrive as one piece), and takes a second more
        // after its last word.
        const QString tool = "Applications/Install macOS Sequoia.app/Contents/Resources/"
                             "createinstallmedia";
        QVERIFY(QDir().mkpath(QFileInfo(world().path(tool)).path() + "/real"));
        QVERIFY(QFile::link(qEnvironmentVariable("TESSALINE_STANDIN"),
                            QFileInfo(world().path(tool)).path() + "/real/createinstallmedia"));
        world().replaceTool(tool, "TESSALINE_STANDIN_SPEED=0.15 "
                                  "\"$(dirname \"$0\")/real/createinstallmedia\" \"$@\"\n"
                                  "status=$?\nsleep 1\nexit $status");
        world().writeState("protection.json", {{"status", "disabled"}});
        world().writeState("admin.json", {{"delay", 0.2}});
        MediaSession session;
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
        MediaSession session;
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
        QVERIFY(!progress.success && !session.state.jobWasCancelled());
        QVERIFY(session.movedForwardOnly());
        QVERIFY2(progress.errorMessage.value_or(QString()).contains(said),
                 qPrintable(progress.errorMessage.value_or(progress.message)));
    }

    void usbThroughTheTerminal()
    {
        MediaSession session;
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
        QTest::addColumn<QStringList>("desktop");
        const QStringList iso{"Install macOS Sequoia.iso"};
        QTest::newRow("success") << QString() << QString() << iso;
        // The stick bears the very name the image's volume gets: the image is mounted elsewhere.
        QTest::newRow("after a USB of the same installer") << "usb" << QString() << iso;
        QTest::newRow("conversion fails")
            << "convert"
            << "Failed to convert DMG to ISO: hdiutil: convert failed" << QStringList();
        // Held for a moment, as by the indexing of what was just written: a later try detaches it.
        QTest::newRow("busy, then let go") << "busy twice" << QString() << iso;
        // Held by something for good: the image cannot be converted, so the run stops there, and
        // the image, still attached, stays.
        QTest::newRow("image stays attached")
            << "detach"
            << "Failed to unmount DMG: hdiutil: couldn't eject \"disk8\""
            << QStringList{"Install macOS Sequoia.dmg"};
    }
    void isoOnTheDesktop()
    {
        QFETCH(QString, failure);
        QFETCH(QString, said);
        QFETCH(QStringList, desktop);
        if (failure == "convert")
            world().replaceTool("usr/bin/hdiutil",
                                "if [ \"$1\" = convert ]; then echo 'hdiutil: convert failed - No "
                                "space left on device' >&2; exit 1; fi\n"
                                "exec \"$TESSALINE_STANDIN\" hdiutil \"$@\"");
        if (failure == "detach")
            world().writeState("hdiutil.json", {{"detach", "unmount-only"}});
        if (failure == "busy twice")
            world().writeState("hdiutil.json", {{"detach", "unmount-only"}, {"times", 2}});
        MediaSession session;
        const QString stick = world().path("Volumes/Install macOS Sequoia");
        if (failure == "usb") {
            world().writeState("protection.json", {{"status", "disabled"}});
            session.state.createBootableUSB();
            session.pressPrimary();
            QVERIFY(session.finish());
            QVERIFY(session.state.progressInfo().success);
            QVERIFY(QFileInfo::exists(stick + "/.standin-createinstallmedia"));
        }
        session.state.createBootableDMG();
        // Only this run's own figures count.
        session.shownPercentages = {session.state.progressInfo().percentage};
        QVERIFY(!session.state.isShowingAlert());
        QVERIFY(session.finish());
        const ProgressInfo &progress = session.state.progressInfo();
        QCOMPARE(desktopFiles(world()), desktop);
        if (!said.isEmpty()) {
            QVERIFY(!progress.success && !session.state.successProcessed);
            QVERIFY2(progress.errorMessage->startsWith("Command failed: " + said),
                     qPrintable(*progress.errorMessage));
            QCOMPARE(progress.detailMessage.contains("Install macOS Sequoia.dmg"),
                     !desktop.isEmpty());
            return;
        }
        QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(progress.message)));
        QCOMPARE(progress.message, "ISO creation complete!");
        QCOMPARE(progress.outputPath, world().path("Desktop/Install macOS Sequoia.iso"));
        QVERIFY(session.movedForwardOnly());
        // The stick is as the USB run left it; the image's volume, numbered beside it, is gone.
        QCOMPARE(QFileInfo::exists(stick + "/.standin-createinstallmedia"), failure == "usb");
        QVERIFY(!QFileInfo::exists(world().path("Volumes/Install macOS Sequoia 1")));
    }

    // The question names the files the run replaces, and the run makes the installer it showed.
    void isoReplacesOnlyWhenAsked()
    {
        MediaSession session;
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
        MediaSession session;
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
        MediaSession session;
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

    // open says at once when it cannot hand the package over; that is an error, not an opened
    // installer.
    void packageThatOpenCannotOpen()
    {
        world().replaceTool("usr/bin/open", "echo \"The file $1 does not exist.\" >&2; exit 1");
        MediaSession session;
        const QString missing = world().path("Downloads/Gone.pkg");
        session.state.openInstallerApp(QUrl::fromLocalFile(missing));
        QTRY_VERIFY(session.state.isShowingAlert());
        QCOMPARE(session.state.alertTitle(), "Error");
        QCOMPARE(session.state.alertMessage(),
                 "Failed to open the installer package: The file " + missing + " does not exist.");
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
