// Tools that misbehave: every runner operation and engine reports a clear failure through its
// usual path, keeps the main thread handling events, and leaves no process and no file behind.

#include "disk/DiskUtility.h"
#include "hardening/Leftovers.h"
#include "model/ShellQuote.h"
#include "state/AppState.h"
#include "support/CapturedOutput.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <memory>

using namespace std::chrono_literals;
using Leftovers::entries;
using Leftovers::settle;

namespace {

// Every runner's limit; a hanging tool sleeps far longer. The thread sanitizer slows the tools'
// output handling several times over, so a busy tool needs more room there.
// It slows each piece of a flood the main thread reads as much, so a stall may be longer there
// too; each stall stays below the limit, so a main thread that waited for a tool would still show.
#if defined(__SANITIZE_THREAD__)
constexpr auto toolLimit = 3000ms;
constexpr qint64 longestStall = 1500;
#elif defined(__SANITIZE_ADDRESS__)
// The address sanitizer slows a busy tool and the reading of its output too, less so.
constexpr auto toolLimit = 3000ms;
constexpr qint64 longestStall = 300;
#else
constexpr auto toolLimit = 500ms;
constexpr qint64 longestStall = 300;
#endif
constexpr int runTimeout = 20000;
const QString installerTool =
    QStringLiteral("Applications/Install macOS Sequoia.app/Contents/Resources/createinstallmedia");

// Puts a tool that misbehaves so at `tool`. The volume misbehaviours lose the volume named by
// "--volume" once started, and "converts nothing" skips hdiutil's conversion; then they hand over
// to the real stand-in tool, linked under the same name in real/.
void misbehave(const StandInWorld &world, const QString &tool, const QString &misbehaviour)
{
    const QString path = world.path(tool);
    const QByteArray started = "echo 'Erasing disk: 0%... 10%... '\n";
    const QByteArray realTool = "\nexec \"$(dirname \"$0\")/real/$(basename \"$0\")\" \"$@\"";
    const QHash<QString, QByteArray> bodies{
        {"killed", "kill -KILL $$"},
        {"crashes", "kill -SEGV $$"},
        {"hangs", "sleep 60"},
        {"hangs ignoring TERM", "trap '' TERM\nsleep 60"},
        {"talks then hangs", started + "sleep 60"},
        {"silent success", "exit 0"},
        {"fails, then exits 0", started + "echo 'Error erasing disk error number (-69888, 0)'\n"
                                          "echo 'An error occurred erasing the disk.'\nexit 0"},
        {"converts nothing", "[ \"$1\" = convert ] && exit 0" + realTool},
        {"5 MB of errors", "head -c 5000000 /dev/zero | tr '\\0' e >&2\nexit 1"},
        {"invalid UTF-8",
         "printf 'Erasing disk: \\xff\\xfe 10%%\\n'\nprintf '\\xc3\\x28 failed\\n' >&2\nexit 1"},
        {"volume deleted", started + "rm -rf \"$2\"" + realTool},
        {"disk ejected", started + "diskutil eject \"$2\" > /dev/null" + realTool},
    };
    if (misbehaviour == u"missing") {
        world.removeTool(tool);
        QVERIFY(!QFileInfo::exists(path));
        return;
    }
    const QByteArray body = bodies.value(misbehaviour, "echo 'should not have run'");
    if (body.contains(realTool)) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path() + "/real"));
        QVERIFY(QFile::link(qEnvironmentVariable("TESSALINE_STANDIN"),
                            QFileInfo(path).path() + "/real/" + QFileInfo(path).fileName()));
    }
    world.replaceTool(tool, body);
    // Even root cannot run a file without any execute permission.
    if (misbehaviour == u"not executable")
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
}

// Calls `begin` and waits until `isOver`; then checks that the main thread never went
// `longestStall` without a timer, and that no process of the run and nothing in tmp is left.
void watchRun(const StandInWorld &world, const QString &misbehaviour,
              const std::function<void()> &begin, const std::function<bool()> &isOver)
{
    QElapsedTimer clock;
    qint64 longestGap = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, clock.restart()); });
    clock.start();
    timer.start(10);
    begin();
    bool ended = false;
    {
        // A flood's diagnostic lines stay out of the log; nothing may fail meanwhile.
        std::optional<CapturedOutput> quiet;
        if (misbehaviour == u"5 MB of errors")
            quiet.emplace();
        ended = QTest::qWaitFor(isOver, runTimeout);
    }
    QVERIFY(ended);
    settle();
    timer.stop();
    QVERIFY2(longestGap < longestStall, qPrintable(QString::number(longestGap)));
    // Whatever a failing run leaves running goes, so that it does not fail the rows after it.
    const auto endLeftovers = qScopeGuard([] {
        for (const QString &process : Leftovers::processes())
            ::kill(process.section(u':', 0, 0).toInt(), SIGKILL);
    });
    // A tool ended by a signal may take a moment to be reaped under a sanitizer and load; one
    // that is never ended still fails here.
    QTRY_COMPARE_WITH_TIMEOUT(Leftovers::processes(), QStringList(), 10000);
    QCOMPARE(entries(world.path("tmp")), QStringList());
}

} // namespace

class MisbehavingToolsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Leftovers::markProcessTree();
        qputenv("TESSALINE_STANDIN_SPEED", "0");
    }
    // Limits shrunk so that a hanging tool is ended within a second.
    void init()
    {
        Timing timing = quickTiming();
        timing.commandLimit = timing.adminCommandLimit = timing.adminRightsWait = toolLimit;
        timing.terminalCommandLimit = timing.scriptLimit = timing.diskToolLimit =
            timing.protectionStatusLimit = toolLimit;
        timing.adminStreamLimit = 2 * toolLimit; // so that each of the two has its own notice
        timing.terminationGrace = 200ms;
        Timing::setCurrent(timing);
    }

    // What each runner operation says of each misbehaviour of its tool. The script runners run
    // osascript itself; the shell runners run the tool as a command.
    void runnerOperations_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("misbehaviour");
        QTest::addColumn<QString>("said");
        const auto add = [](const char *misbehaviour, const char *said,
                            std::initializer_list<const char *> operations) {
            for (const char *operation : operations)
                QTest::addRow("%s: %s", operation, misbehaviour)
                    << operation << misbehaviour << said;
        };
        const char *flood = "eeeeeeeeeeeeeeeeeeee";
        // A misbehaving command under the terminal is checked, with more, by the USB engine below.
        add("missing", "No such file or directory", {"runScript", "runCommand"});
        add("missing", "Failed to run command: ", {"admin via process"});
        add("missing", "Failed to launch command: ", {"streamed admin"});
        add("not executable", "Permission denied", {"runScript", "runCommand"});
        add("not executable", "Failed to run command: ", {"admin via process"});
        add("not executable", "Failed to launch command: ", {"streamed admin"});
        add("not executable", "Permission denied", {"terminal"});
        add("killed", "Unknown error", {"runScript"});
        add("killed", "", {"runCommand"});
        add("crashes", "", {"admin via process", "streamed admin"});
        add("hangs", "Timeout while waiting for admin privileges", {"streamed admin"});
        // Only the privileged shell's own line says the rights were granted; osascript's chatter
        // does not.
        add("talks then hangs", "Timeout while waiting for admin privileges", {"streamed admin"});
        add("talks then hangs", "Process timeout exceeded (2 hours)", {"terminal"});
        add("hangs ignoring TERM", "Operation timed out after 30 minutes", {"admin via process"});
        add("hangs ignoring TERM", "Operation timed out after 5 minutes", {"runCommand"});
        add("hangs ignoring TERM", "The script did not finish within", {"runScript"});
        add("5 MB of errors", flood,
            {"runScript", "admin via process", "runCommand", "streamed admin"});
        // A bad byte becomes the replacement character; the rest of what the tool said is kept.
        add("invalid UTF-8", "\uFFFD( failed", {"runScript", "admin via process", "runCommand"});
        add("invalid UTF-8", "", {"streamed admin"});
    }
    void runnerOperations()
    {
        QFETCH(QString, operation);
        QFETCH(QString, misbehaviour);
        QFETCH(QString, said);
        // One world for all rows: the runners leave nothing in it that the next row would see.
        if (!m_runnerWorld)
            m_runnerWorld = std::make_unique<StandInWorld>();
        QVERIFY(m_runnerWorld->isValid());
        const StandInWorld &world = *m_runnerWorld;
        Host::setCurrent(Host::standIn(world.root()));
        const bool throughOsascript = operation != u"runCommand" && operation != u"terminal";
        const QString tool = throughOsascript ? "usr/bin/osascript" : "usr/local/bin/misbehaving";
        misbehave(world, tool, misbehaviour);
        const auto restore = qScopeGuard([&] {
            QFile::remove(world.path(tool));
            if (throughOsascript)
                QFile::link(qEnvironmentVariable("TESSALINE_STANDIN"), world.path(tool));
        });
        // Shared with the handlers, which may be called after the row is over.
        const auto statuses = std::make_shared<QList<int>>();
        const auto messages = std::make_shared<QStringList>();
        const auto begin = [&] {
            Leftovers::startRunner(
                operation, shellQuoted(world.path(tool)),
                [messages](const QString &text) { *messages << text; },
                [=](int status, const QString &message) {
                    *statuses << status;
                    *messages << message;
                });
        };
        watchRun(world, misbehaviour, begin, [&] { return !statuses->isEmpty(); });
        if (QTest::currentTestFailed())
            return;
        const QString text = messages->join(u'\n');
        QVERIFY2(!statuses->contains(0), qPrintable(text));
        QVERIFY2(text.contains(said), qPrintable(text.left(300)));
    }

    // The engines: USB media through the system's prompt and through the terminal with its
    // password, the ISO file, package installation, the disk list and the protection status.
    void engines_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("misbehaviour");
        QTest::addColumn<QString>("said");
        const auto add = [](const char *misbehaviour, const char *said,
                            std::initializer_list<const char *> engines) {
            for (const char *engine : engines)
                QTest::addRow("%s: %s", engine, misbehaviour) << engine << misbehaviour << said;
        };
        const char *flood = "eeeeeeeeeeeeeeeeeeee";
        const char *noVolume = "is not a valid volume mount point";
        add("missing", "No such file or directory", // env's words on the terminal path
            {"USB, prompt", "USB, terminal", "ISO, hdiutil", "ISO, createinstallmedia", "package"});
        add("not executable", "Permission denied", {"USB, prompt", "ISO, hdiutil", "package"});
        add("killed", "non-zero status", {"package"});
        add("killed", "Process terminated with status: ", {"USB, prompt"});
        add("killed", "Command failed: Failed to create DMG: ", {"ISO, hdiutil"});
        add("killed", "Failed to make DMG bootable: ", {"ISO, createinstallmedia"});
        add("crashes", "Process exited with code 11",
            {"USB, terminal"}); // sudo dies of the signal too
        // The tool has its rights: only the overall limit ends it.
        add("hangs ignoring TERM", "Operation timed out after 3 hours", {"USB, prompt"});
        add("hangs ignoring TERM", "Process timeout exceeded (2 hours)", {"USB, terminal"});
        add("hangs ignoring TERM", "Operation timed out after 30 minutes",
            {"ISO, createinstallmedia"});
        add("silent success", "DMG mounted but volume not found at ", {"ISO, hdiutil"});
        // A status of 0 is not taken on trust: what the tool should have made must be there.
        for (const char *misbehaviour : {"silent success", "fails, then exits 0"}) {
            add(misbehaviour, "no installer volume was found on disk4",
                {"USB, prompt", "USB, terminal"});
            add(misbehaviour, "the disk image holds no installer", {"ISO, createinstallmedia"});
        }
        add("converts nothing", "hdiutil reported success, but wrote nothing at ",
            {"ISO, hdiutil"});
        // It claims to have installed, but no installer application appears.
        add("silent success", "no new installer application was detected", {"package"});
        add("5 MB of errors", flood, {"USB, prompt", "USB, terminal", "package"});
        add("5 MB of errors", "Failed to create DMG: eeeeeeeeeeeeeeeeeeee", {"ISO, hdiutil"});
        add("5 MB of errors", "eeeeeeeeeeeeeeeeeeee (1)", {"ISO, createinstallmedia"});
        add("invalid UTF-8", "\uFFFD( failed", {"USB, prompt"});
        add("invalid UTF-8", "( failed", {"USB, terminal"});
        add("invalid UTF-8", "Failed to create DMG: \uFFFD", {"ISO, hdiutil"});
        add("invalid UTF-8", "\uFFFD( failed", {"package"});
        add("volume deleted", noVolume, {"USB, prompt", "ISO, createinstallmedia"});
        add("disk ejected", noVolume, {"USB, terminal"});
        // A diskutil that cannot say which disk the Mac started from leaves no disk safe to offer.
        for (const char *misbehaviour : {"missing", "not executable"})
            add(misbehaviour, "Failed to get disk list: ", {"disk list"});
        for (const char *misbehaviour :
             {"killed", "crashes", "silent success", "5 MB of errors", "invalid UTF-8"})
            add(misbehaviour,
                "Failed to get disk list: diskutil did not say which disk this Mac started from",
                {"disk list"});
        add("hangs ignoring TERM", "Failed to get disk list: diskutil did not answer within",
            {"disk list"});
        // A status that cannot be learnt counts as enabled; an answer without the words does not.
        for (const char *misbehaviour :
             {"missing", "not executable", "invalid UTF-8", "hangs ignoring TERM"})
            add(misbehaviour, "enabled", {"protection"});
        for (const char *misbehaviour : {"killed", "silent success", "5 MB of errors"})
            add(misbehaviour, "not enabled", {"protection"});
    }
    void engines()
    {
        QFETCH(QString, engine);
        QFETCH(QString, misbehaviour);
        QFETCH(QString, said);
        const QHash<QString, QString> tools{{"ISO, hdiutil", "usr/bin/hdiutil"},
                                            {"package", "usr/sbin/installer"},
                                            {"disk list", "usr/sbin/diskutil"},
                                            {"protection", "usr/bin/csrutil"}};
        StandInWorld world;
        QVERIFY(world.isValid());
        QFile protection(world.path("var/standin/protection.json"));
        if (engine != u"USB, terminal") { // a new Mac has protection enabled
            QVERIFY(protection.open(QIODevice::WriteOnly | QIODevice::Truncate));
            protection.write(R"({"status": "disabled"})");
            protection.close();
        }
        misbehave(world, tools.value(engine, installerTool), misbehaviour);
        AppState state;
        if (engine == u"package") {
            state.scanForInstallers();
            QTRY_VERIFY(!state.isScanning() && !state.installers().isEmpty());
        }
        state.selectedInstaller = InstallerApp::fromBundle(
            QUrl::fromLocalFile(world.path("Applications/Install macOS Sequoia.app")));
        QVERIFY(state.selectedInstaller());
        state.selectedDisk = DiskInfo("disk4s2", "UNTITLED", world.path("Volumes/UNTITLED"),
                                      16'000'000'000, 16'000'000'000, true);
        settle();
        if (engine == u"disk list")
            state.availableDisks = {
                DiskInfo("disk9s1", "OLD", world.path("Volumes/OLD"), 1, 1, true)};
        const QStringList volumes = entries(world.path("Volumes"));
        const QStringList applications = entries(world.path("Applications"));
        // The disk list's flag is raised and lowered by queued tasks, maybe in one turn of the
        // loop.
        bool loading = false;
        bool loaded = false;
        QObject::connect(&state, &AppState::changed, [&] {
            loaded = loaded || (loading && !state.isLoadingDisks());
            loading = loading || state.isLoadingDisks();
        });
        std::optional<bool> enabled;
        bool answeredOnMainThread = false;

        const auto begin = [&] {
            if (engine == u"package") {
                state.installPKGAutomated(
                    QUrl::fromLocalFile(world.path("Downloads/InstallAssistant.pkg")));
            } else if (engine.startsWith(u"ISO")) {
                state.createBootableDMG();
            } else if (engine == u"disk list") {
                state.refreshDiskList();
            } else if (engine == u"protection") {
                DiskUtility::checkSIPStatus([&](bool isEnabled) {
                    enabled = isEnabled;
                    answeredOnMainThread = QThread::currentThread() == qApp->thread();
                });
            } else {
                state.createBootableUSB();
                QVERIFY(state.isShowingAlert());
                state.isShowingAlert = false;
                state.alertPrimaryButton().action();
            }
            if (engine == u"USB, terminal") {
                // The signature and protection checks come first, each a tool of its own.
                QTRY_VERIFY_WITH_TIMEOUT(state.isWaitingForPassword(), 20000);
                state.executeTerminalCommand(secretOf("tessaline"));
            }
        };
        watchRun(world, misbehaviour, begin, [&] {
            if (engine == u"disk list")
                return loaded;
            if (engine == u"protection")
                return enabled.has_value();
            return state.progressInfo().isComplete && !state.hasJob() && !state.isInstallingPKG() &&
                   !state.isScanning();
        });
        if (QTest::currentTestFailed())
            return;

        if (engine == u"protection") {
            QCOMPARE(*enabled, said == u"enabled");
            QVERIFY(answeredOnMainThread);
            return;
        }
        // Everything the state tells the user about the run.
        const ProgressInfo &progress = state.progressInfo();
        QStringList reported{progress.message, progress.errorMessage.value_or(QString()),
                             progress.detailMessage, state.terminalOutput()};
        if (state.isShowingAlert())
            reported << state.alertTitle() << state.alertMessage();
        QVERIFY2(reported.join(u'\n').contains(said), qPrintable(reported.join(u'\n').right(500)));
        QVERIFY(!progress.success);
        QVERIFY(!state.successProcessed);
        if (engine == u"disk list") {
            QCOMPARE(state.isShowingAlert(), !said.isEmpty());
            if (!said.isEmpty()) {
                QCOMPARE(state.alertTitle(), "Disk Error");
                QVERIFY2(state.alertMessage().startsWith(said), qPrintable(state.alertMessage()));
            }
            QCOMPARE(state.availableDisks().size(), said.isEmpty() ? 0 : 1); // or as it was
        }
        if (engine == u"package") {
            // A failing installer is told of; one that claims success leaves nothing to offer.
            QCOMPARE(state.isShowingAlert(), misbehaviour != u"silent success");
            if (state.isShowingAlert())
                QCOMPARE(state.alertTitle(), "Installation Error");
        }
        QCOMPARE(entries(world.path("Applications")), applications);
        // The stick is as it was, or gone when it was pulled out; a disk image is let go of.
        QStringList expectedVolumes = volumes;
        if (engine.startsWith(u"USB") &&
            (misbehaviour == u"volume deleted" || misbehaviour == u"disk ejected"))
            expectedVolumes.removeOne("UNTITLED");
        QCOMPARE(entries(world.path("Volumes")), expectedVolumes);
        // What a failed run leaves on the desktop, the user is told of.
        for (const QString &file : entries(world.path("Desktop")))
            QVERIFY2(progress.detailMessage.contains(file), qPrintable(progress.detailMessage));
    }

private:
    std::unique_ptr<StandInWorld> m_runnerWorld;
};

QTEST_MAIN(MisbehavingToolsTest)
#include "tst_misbehavingtools.moc"
