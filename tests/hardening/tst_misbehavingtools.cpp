// Tools that misbehave: missing, not executable, killed by a signal, hanging, silent, flooding
// standard error, printing bytes that are not UTF-8, or losing their volume halfway. Every runner
// operation and every engine has to report a clear failure through its usual path while the main
// thread keeps handling events, and leave no process and no file behind.

#include "disk/DiskUtility.h"
#include "exec/AppleScriptHelper.h"
#include "exec/MainThread.h"
#include "hardening/Leftovers.h"
#include "media/USBCreator.h"
#include "model/ShellQuote.h"
#include "state/AppState.h"
#include "support/CapturedOutput.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <memory>

using namespace std::chrono_literals;

enum class Misbehaviour {
    missing,
    notExecutable,
    killed,
    crashes,
    hangs,
    hangsIgnoringTerm,
    talksThenHangs,
    silentSuccess,
    floodsErrors,
    invalidUtf8,
    volumeDeleted,
    diskEjected,
};
Q_DECLARE_METATYPE(Misbehaviour)

enum class Media {
    usbThroughPrompt,
    usbThroughTerminal,
    iso,
};
Q_DECLARE_METATYPE(Media)

enum class Operation {
    runScript,
    runCommand,
    getCommandOutput,
    adminProcess,
    adminAppleScript,
    streamed,
    terminal,
};
Q_DECLARE_METATYPE(Operation)

namespace {

// Every time limit of the runners; a tool that hangs sleeps far longer than this.
constexpr auto toolLimit = 500ms;
// The longest the main thread may go without handling its events while a tool misbehaves. Below
// the limit, so a main thread that waited for a hanging tool would show.
constexpr qint64 longestStall = 300;
constexpr int runTimeout = 20000;

const QString installerTool =
    QStringLiteral("Applications/Install macOS Sequoia.app/Contents/Resources/createinstallmedia");

const char *nameOf(Misbehaviour misbehaviour)
{
    switch (misbehaviour) {
    case Misbehaviour::missing:
        return "missing";
    case Misbehaviour::notExecutable:
        return "not executable";
    case Misbehaviour::killed:
        return "killed";
    case Misbehaviour::crashes:
        return "crashes";
    case Misbehaviour::hangs:
        return "hangs";
    case Misbehaviour::hangsIgnoringTerm:
        return "hangs ignoring TERM";
    case Misbehaviour::talksThenHangs:
        return "talks then hangs";
    case Misbehaviour::silentSuccess:
        return "silent success";
    case Misbehaviour::floodsErrors:
        return "5 MB of errors";
    case Misbehaviour::invalidUtf8:
        return "invalid UTF-8";
    case Misbehaviour::volumeDeleted:
        return "volume deleted";
    case Misbehaviour::diskEjected:
        return "disk ejected";
    }
    return "";
}

const char *nameOf(Operation operation)
{
    switch (operation) {
    case Operation::runScript:
        return "runScript";
    case Operation::runCommand:
        return "runCommand";
    case Operation::getCommandOutput:
        return "getCommandOutput";
    case Operation::adminProcess:
        return "admin via process";
    case Operation::adminAppleScript:
        return "admin via script";
    case Operation::streamed:
        return "streamed admin";
    case Operation::terminal:
        return "terminal";
    }
    return "";
}

const char *nameOf(Media media)
{
    switch (media) {
    case Media::usbThroughPrompt:
        return "USB, prompt";
    case Media::usbThroughTerminal:
        return "USB, terminal";
    case Media::iso:
        return "ISO";
    }
    return "";
}

// The body of a tool that misbehaves so. The volume misbehaviours are a createinstallmedia that
// starts, loses the volume named by its "--volume" argument, and leaves the rest to the real
// stand-in tool linked at real/createinstallmedia next to it.
QByteArray bodyOf(Misbehaviour misbehaviour)
{
    const QByteArray started = "echo 'Erasing disk: 0%... 10%... '\n";
    const QByteArray realTool = "\nexec \"$(dirname \"$0\")/real/createinstallmedia\" \"$@\"";
    switch (misbehaviour) {
    case Misbehaviour::killed:
        return "kill -KILL $$";
    case Misbehaviour::crashes:
        return "kill -SEGV $$";
    case Misbehaviour::hangs:
        return "sleep 60";
    case Misbehaviour::hangsIgnoringTerm:
        return "trap '' TERM\nsleep 60";
    case Misbehaviour::talksThenHangs:
        return started + "sleep 60";
    case Misbehaviour::silentSuccess:
        return "exit 0";
    case Misbehaviour::floodsErrors:
        return "head -c 5000000 /dev/zero | tr '\\0' e >&2\nexit 1";
    case Misbehaviour::invalidUtf8:
        return "printf 'Erasing disk: \\xff\\xfe 10%%\\n'\n"
               "printf '\\xc3\\x28 failed\\n' >&2\n"
               "exit 1";
    case Misbehaviour::volumeDeleted:
        return started + "rm -rf \"$2\"" + realTool;
    case Misbehaviour::diskEjected:
        return started + "diskutil eject \"$2\" > /dev/null" + realTool;
    case Misbehaviour::missing:
    case Misbehaviour::notExecutable:
        break;
    }
    return "echo 'should not have run'";
}

void misbehave(const StandInWorld &world, const QString &tool, Misbehaviour misbehaviour)
{
    const QString path = world.path(tool);
    if (misbehaviour == Misbehaviour::missing) {
        world.removeTool(tool);
        QVERIFY(!QFileInfo::exists(path));
        return;
    }
    if (misbehaviour == Misbehaviour::volumeDeleted || misbehaviour == Misbehaviour::diskEjected) {
        const QString real = QFileInfo(path).path() + QStringLiteral("/real");
        QVERIFY(QDir().mkpath(real));
        QVERIFY(QFile::link(qEnvironmentVariable("TESSALINE_STANDIN"),
                            real + QStringLiteral("/createinstallmedia")));
    }
    world.replaceTool(tool, bodyOf(misbehaviour));
    // Even root cannot run a file without any execute permission.
    if (misbehaviour == Misbehaviour::notExecutable)
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
}

// Time limits shrunk so that a hanging tool is ended within a second.
void useShortLimits()
{
    Timing timing = quickTiming();
    timing.commandLimit = toolLimit;
    timing.adminCommandLimit = toolLimit;
    timing.adminRightsWait = toolLimit;
    timing.adminStreamLimit = 2 * toolLimit; // so that each of the two has its own notice
    timing.terminalCommandLimit = toolLimit;
    timing.terminationGrace = 200ms;
    Timing::setCurrent(timing);
}

// What one run of an operation reported, gathered on the main thread.
struct Outcome {
    QList<int> statuses;
    QStringList messages;
    bool finished() const { return !statuses.isEmpty(); }
    bool failed() const
    {
        return std::all_of(statuses.begin(), statuses.end(), [](int status) { return status; });
    }
    QString text() const { return messages.join(u'\n'); }
    void note(int status, const QString &message)
    {
        statuses << status;
        messages << message;
    }
};
using SharedOutcome = std::shared_ptr<Outcome>;

// A handler that may be called on any thread; the text is noted on the main thread.
std::function<void(const QString &)> noteText(const SharedOutcome &outcome)
{
    return [outcome](const QString &text) {
        if (QThread::currentThread() == qApp->thread())
            outcome->messages << text;
        else
            runOnMainThread([outcome, text] { outcome->messages << text; });
    };
}

// Runs a blocking runner operation on a background thread, as the application does.
void runBlocking(const SharedOutcome &outcome, std::function<AppleScriptHelper::Result()> work)
{
    QThreadPool::globalInstance()->start([outcome, work = std::move(work)] {
        const AppleScriptHelper::Result result = work();
        runOnMainThread([outcome, result] { outcome->note(result.status, result.output); });
    });
}

SharedOutcome start(Operation operation, const QString &command)
{
    using Helper = AppleScriptHelper;
    auto outcome = std::make_shared<Outcome>();
    const QString script = QStringLiteral("do shell script \"true\"");
    switch (operation) {
    case Operation::runScript:
        runBlocking(outcome, [script] { return Helper::runScript(script); });
        break;
    case Operation::runCommand:
        runBlocking(outcome, [command] { return Helper::runCommand(command); });
        break;
    case Operation::getCommandOutput:
        runBlocking(outcome, [command] {
            const std::optional<QString> output = Helper::getCommandOutput(command);
            return Helper::Result{output ? 0 : 1, output.value_or(QString())};
        });
        break;
    case Operation::adminProcess:
        runBlocking(outcome, [] { return Helper::runWithAdminPrivileges(QStringLiteral("true")); });
        break;
    case Operation::adminAppleScript:
        runBlocking(outcome, [] {
            return Helper::runWithAdminPrivileges(QStringLiteral("true"),
                                                  Helper::ExecutionMethod::appleScript);
        });
        break;
    case Operation::streamed:
        Helper::runShellCommandWithAdminPrivilegesAsync(
            QStringLiteral("true"), noteText(outcome), noteText(outcome),
            [outcome](int status, const std::optional<QString> &output,
                      const std::optional<QString> &error) {
                outcome->note(status, error.value_or(output.value_or(QString())));
            });
        break;
    case Operation::terminal:
        USBCreator::executeTerminalCommand(
            command, QStringLiteral("tessaline"), noteText(outcome), noteText(outcome),
            [outcome](qint32 status) { outcome->note(status, QString()); });
        break;
    }
    return outcome;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Waits until no background work is left, such as the eject of stray volumes that every new
// state starts with.
void settle()
{
    QTRY_COMPARE_WITH_TIMEOUT(QThreadPool::globalInstance()->activeThreadCount(), 0, runTimeout);
}

// Watches one run in a world from its start: how long the main thread goes without handling a
// timer while the run goes on, and what the run leaves behind once it is over.
class RunWatch {
public:
    RunWatch(const StandInWorld &world, Misbehaviour misbehaviour)
        : m_world(world), m_misbehaviour(misbehaviour)
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longestGap = std::max(m_longestGap, m_clock.restart()); });
        m_timer.start(10);
    }

    // Waits until `isOver`, then checks that the main thread kept handling its events, that no
    // process of the run is still there and that the world's temporary folder is as empty as it
    // was made.
    void verifyEnded(const std::function<bool()> &isOver)
    {
        QVERIFY(waitFor(isOver));
        settle();
        m_timer.stop();
        QVERIFY2(m_longestGap < longestStall, qPrintable(QString::number(m_longestGap)));
        // What a failing run leaves running goes, so that it does not fail the runs after it.
        const auto endLeftovers = qScopeGuard([] {
            for (qint64 pid : Leftovers::processes())
                ::kill(pid_t(pid), SIGKILL);
        });
        QTRY_VERIFY2_WITH_TIMEOUT(Leftovers::processes().isEmpty(),
                                  qPrintable(Leftovers::describe(Leftovers::processes())), 3000);
        QCOMPARE(entries(m_world.path(QStringLiteral("tmp"))), QStringList());
    }

private:
    // The diagnostic lines of a flood of output are kept out of the test's log; nothing may fail
    // meanwhile, since the test's own lines would go with them.
    bool waitFor(const std::function<bool()> &isOver)
    {
        std::optional<CapturedOutput> quiet;
        if (m_misbehaviour == Misbehaviour::floodsErrors)
            quiet.emplace();
        return QTest::qWaitFor(isOver, runTimeout);
    }

    const StandInWorld &m_world;
    Misbehaviour m_misbehaviour;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longestGap = 0;
};

std::optional<InstallerApp> sequoia(const StandInWorld &world)
{
    return InstallerApp::fromBundle(
        QUrl::fromLocalFile(world.path(QStringLiteral("Applications/Install macOS Sequoia.app"))));
}

// Everything the state tells the user about the run that just ended.
QString reported(const AppState &state)
{
    const ProgressInfo &progress = state.progressInfo();
    QStringList parts{progress.message, progress.errorMessage.value_or(QString()),
                      progress.detailMessage, state.terminalOutput()};
    if (state.isShowingAlert())
        parts << state.alertTitle() << state.alertMessage();
    return parts.join(u'\n');
}

void setProtection(const StandInWorld &world, const char *status)
{
    QFile file(world.path(QStringLiteral("var/standin/protection.json")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray("{\"status\": \"") + status + "\"}\n");
}

} // namespace

class MisbehavingToolsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Leftovers::markProcessTree();
        // The stand-in tools work without pauses.
        qputenv("TESSALINE_STANDIN_SPEED", "0");
    }
    void init() { useShortLimits(); }
    void cleanupTestCase() { Timing::setCurrent(Timing()); }

    void runnerOperations_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<QString>("said");

        using M = Misbehaviour;
        const auto add = [](Operation operation, Misbehaviour misbehaviour, const char *said) {
            QTest::addRow("%s: %s", nameOf(operation), nameOf(misbehaviour))
                << operation << misbehaviour << QString::fromUtf8(said);
        };
        // The script runners run osascript itself; the shell runners run the tool as a command.
        add(Operation::runScript, M::missing, "No such file or directory");
        add(Operation::runScript, M::notExecutable, "Permission denied");
        add(Operation::runScript, M::killed, "Unknown error");
        add(Operation::runScript, M::floodsErrors, "eeeeeeeeeeeeeeeeeeee");
        add(Operation::runScript, M::invalidUtf8, "Unknown error");
        // The same engine as runScript, given the wrapped command.
        add(Operation::adminAppleScript, M::missing, "No such file or directory");
        add(Operation::adminAppleScript, M::crashes, "Unknown error");
        add(Operation::adminProcess, M::missing, "Failed to run command: ");
        add(Operation::adminProcess, M::notExecutable, "Failed to run command: ");
        add(Operation::adminProcess, M::crashes, "");
        add(Operation::adminProcess, M::hangsIgnoringTerm, "Operation timed out after 30 minutes");
        add(Operation::adminProcess, M::floodsErrors, "eeeeeeeeeeeeeeeeeeee");
        add(Operation::adminProcess, M::invalidUtf8, "Unknown error");
        add(Operation::runCommand, M::missing, "No such file or directory");
        add(Operation::runCommand, M::notExecutable, "Permission denied");
        add(Operation::runCommand, M::killed, "");
        add(Operation::runCommand, M::hangs, "Operation timed out after 5 minutes");
        add(Operation::runCommand, M::hangsIgnoringTerm, "Operation timed out after 5 minutes");
        add(Operation::runCommand, M::floodsErrors, "eeeeeeeeeeeeeeeeeeee");
        add(Operation::runCommand, M::invalidUtf8, "Unknown error");
        // runCommand underneath; only the absence of an answer tells of the failure.
        add(Operation::getCommandOutput, M::missing, "");
        add(Operation::getCommandOutput, M::crashes, "");
        add(Operation::getCommandOutput, M::hangs, "");
        add(Operation::streamed, M::missing, "Failed to launch command: ");
        add(Operation::streamed, M::notExecutable, "Failed to launch command: ");
        add(Operation::streamed, M::crashes, "");
        add(Operation::streamed, M::hangs, "Timeout while waiting for admin privileges");
        add(Operation::streamed, M::talksThenHangs, "Operation timed out after 3 hours");
        add(Operation::streamed, M::floodsErrors, "eeeeeeeeeeeeeeeeeeee");
        add(Operation::streamed, M::invalidUtf8, "");
        add(Operation::terminal, M::missing, "command not found");
        // As sudo says of a file it cannot run.
        add(Operation::terminal, M::notExecutable, "command not found");
        add(Operation::terminal, M::killed, "");
        add(Operation::terminal, M::hangsIgnoringTerm, "Process timeout exceeded (2 hours)");
        add(Operation::terminal, M::talksThenHangs, "Process timeout exceeded (2 hours)");
        add(Operation::terminal, M::floodsErrors, "eeeeeeeeeeeeeeeeeeee");
        add(Operation::terminal, M::invalidUtf8, "");
    }
    void runnerOperations()
    {
        QFETCH(Operation, operation);
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(QString, said);
        // One world for all rows: the runners leave nothing in it that the next row would see.
        if (!m_runnerWorld)
            m_runnerWorld = std::make_unique<StandInWorld>();
        QVERIFY(m_runnerWorld->isValid());
        const StandInWorld &world = *m_runnerWorld;
        Host::setCurrent(Host::standIn(world.root()));
        const bool throughOsascript = operation != Operation::runCommand &&
                                      operation != Operation::getCommandOutput &&
                                      operation != Operation::terminal;
        const QString tool = throughOsascript ? QStringLiteral("usr/bin/osascript")
                                              : QStringLiteral("usr/local/bin/misbehaving");
        misbehave(world, tool, misbehaviour);
        const auto restore = qScopeGuard([&] {
            QFile::remove(world.path(tool));
            if (throughOsascript)
                QFile::link(qEnvironmentVariable("TESSALINE_STANDIN"), world.path(tool));
        });

        RunWatch watch(world, misbehaviour);
        const SharedOutcome outcome = start(operation, shellQuoted(world.path(tool)));
        watch.verifyEnded([&] { return outcome->finished(); });
        if (QTest::currentTestFailed())
            return;

        QVERIFY2(outcome->failed(), qPrintable(outcome->text()));
        if (operation != Operation::getCommandOutput)
            QVERIFY2(outcome->text().contains(said), qPrintable(outcome->text().left(300)));
    }

    // USB media through the system's prompt and through the terminal with its password, and
    // the ISO file.
    void mediaCreation_data()
    {
        QTest::addColumn<Media>("media");
        QTest::addColumn<QString>("tool");
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<QString>("said");

        using M = Misbehaviour;
        const auto add = [](Media media, const QString &tool, Misbehaviour misbehaviour,
                            const char *said) {
            QTest::addRow("%s, %s: %s", nameOf(media), qPrintable(QFileInfo(tool).fileName()),
                          nameOf(misbehaviour))
                << media << tool << misbehaviour << QString::fromUtf8(said);
        };
        const Media prompt = Media::usbThroughPrompt;
        add(prompt, installerTool, M::missing, "No such file or directory");
        add(prompt, installerTool, M::notExecutable, "Permission denied");
        add(prompt, installerTool, M::killed, "non-zero status");
        add(prompt, installerTool, M::hangsIgnoringTerm,
            "Timeout while waiting for admin privileges");
        add(prompt, installerTool, M::floodsErrors, "eeeeeeeeeeeeeeeeeeee");
        add(prompt, installerTool, M::invalidUtf8, "Process terminated with status: 1");
        add(prompt, installerTool, M::volumeDeleted, "is not a valid volume mount point");
        const Media terminal = Media::usbThroughTerminal;
        add(terminal, installerTool, M::missing, "command not found");
        add(terminal, installerTool, M::crashes, "Process exited with code 139");
        add(terminal, installerTool, M::hangsIgnoringTerm, "Process timeout exceeded (2 hours)");
        add(terminal, installerTool, M::floodsErrors, "eeeeeeeeeeeeeeeeeeee");
        add(terminal, installerTool, M::invalidUtf8, "Process exited with code 1");
        add(terminal, installerTool, M::diskEjected, "is not a valid volume mount point");
        const QString hdiutil = QStringLiteral("usr/bin/hdiutil");
        add(Media::iso, hdiutil, M::missing, "No such file or directory");
        add(Media::iso, hdiutil, M::notExecutable, "Permission denied");
        add(Media::iso, hdiutil, M::killed, "Command failed: Failed to create DMG: ");
        add(Media::iso, hdiutil, M::silentSuccess, "DMG mounted but volume not found at ");
        add(Media::iso, hdiutil, M::floodsErrors, "Failed to create DMG: eeeeeeeeeeeeeeeeeeee");
        add(Media::iso, hdiutil, M::invalidUtf8, "Failed to create DMG: Unknown error");
        add(Media::iso, installerTool, M::missing, "No such file or directory");
        add(Media::iso, installerTool, M::killed, "Failed to make DMG bootable: ");
        add(Media::iso, installerTool, M::hangsIgnoringTerm,
            "Operation timed out after 30 minutes");
        add(Media::iso, installerTool, M::floodsErrors, "eeeeeeeeeeeeeeeeeeee (1)");
        add(Media::iso, installerTool, M::volumeDeleted, "is not a valid volume mount point");
    }
    void mediaCreation()
    {
        QFETCH(Media, media);
        QFETCH(QString, tool);
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(QString, said);
        StandInWorld world;
        QVERIFY(world.isValid());
        setProtection(world, media == Media::usbThroughTerminal ? "enabled" : "disabled");
        AppState state;
        state.selectedInstaller = sequoia(world);
        QVERIFY(state.selectedInstaller());
        // The world's USB stick.
        state.selectedDisk = DiskInfo(QStringLiteral("disk4s2"), QStringLiteral("UNTITLED"),
                                      world.path(QStringLiteral("Volumes/UNTITLED")),
                                      16'000'000'000, 16'000'000'000, true);
        misbehave(world, tool, misbehaviour);
        settle();
        const QStringList volumes = entries(world.path(QStringLiteral("Volumes")));

        RunWatch watch(world, misbehaviour);
        if (media == Media::iso) {
            state.createBootableDMG();
        } else {
            state.createBootableUSB();
            QVERIFY(state.isShowingAlert());
            state.isShowingAlert = false;
            state.alertPrimaryButton().action();
        }
        if (media == Media::usbThroughTerminal) {
            QTRY_VERIFY(state.isWaitingForPassword());
            state.executeTerminalCommand(QStringLiteral("tessaline"));
        }
        watch.verifyEnded(
            [&] { return state.progressInfo().isComplete && !state.isCreatingMedia(); });
        if (QTest::currentTestFailed())
            return;

        const ProgressInfo &progress = state.progressInfo();
        QVERIFY(!progress.success);
        QVERIFY(!state.successProcessed);
        QVERIFY2(reported(state).contains(said), qPrintable(reported(state).right(500)));
        // The stick is as it was, or gone when it was pulled out; a disk image is let go of.
        QStringList expectedVolumes = volumes;
        if (media != Media::iso && (misbehaviour == Misbehaviour::volumeDeleted ||
                                    misbehaviour == Misbehaviour::diskEjected))
            expectedVolumes.removeOne(QStringLiteral("UNTITLED"));
        QCOMPARE(entries(world.path(QStringLiteral("Volumes"))), expectedVolumes);
        // What a failed run leaves on the desktop, the user is told of.
        for (const QString &file : entries(world.path(QStringLiteral("Desktop"))))
            QVERIFY2(progress.detailMessage.contains(file), qPrintable(progress.detailMessage));
    }

    void diskDiscovery_data()
    {
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<QString>("said");

        // Only a diskutil that cannot be started is an error; one that gives no usable answer
        // means no removable disk could be found.
        using M = Misbehaviour;
        for (Misbehaviour misbehaviour : {M::missing, M::notExecutable})
            QTest::addRow("%s", nameOf(misbehaviour))
                << misbehaviour << QStringLiteral("Failed to get disk list: ");
        for (Misbehaviour misbehaviour :
             {M::killed, M::crashes, M::silentSuccess, M::floodsErrors, M::invalidUtf8})
            QTest::addRow("%s", nameOf(misbehaviour)) << misbehaviour << QString();
    }
    void diskDiscovery()
    {
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(QString, said);
        StandInWorld world;
        QVERIFY(world.isValid());
        misbehave(world, QStringLiteral("usr/sbin/diskutil"), misbehaviour);
        AppState state;
        settle();
        state.availableDisks = {DiskInfo(QStringLiteral("disk9s1"), QStringLiteral("OLD"),
                                         world.path(QStringLiteral("Volumes/OLD")), 1, 1, true)};

        // The flag is raised and lowered by queued tasks, possibly within one turn of the loop.
        bool loading = false;
        bool loaded = false;
        QObject::connect(&state, &AppState::changed, [&] {
            loaded = loaded || (loading && !state.isLoadingDisks());
            loading = loading || state.isLoadingDisks();
        });
        RunWatch watch(world, misbehaviour);
        state.refreshDiskList();
        watch.verifyEnded([&] { return loaded; });
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(state.isShowingAlert(), !said.isEmpty());
        if (said.isEmpty()) {
            QCOMPARE(state.availableDisks().size(), 0);
        } else {
            QCOMPARE(state.alertTitle(), QStringLiteral("Disk Error"));
            QVERIFY2(state.alertMessage().startsWith(said), qPrintable(state.alertMessage()));
            QCOMPARE(state.availableDisks().size(), 1); // left as it was
        }
    }

    void protectionStatus_data()
    {
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<bool>("enabled");

        // A status that cannot be learnt counts as enabled; an answer without any of the words
        // does not say enabled.
        using M = Misbehaviour;
        QTest::addRow("missing") << M::missing << true;
        QTest::addRow("not executable") << M::notExecutable << true;
        QTest::addRow("invalid UTF-8") << M::invalidUtf8 << true;
        QTest::addRow("killed") << M::killed << false;
        QTest::addRow("silent success") << M::silentSuccess << false;
        QTest::addRow("5 MB of errors") << M::floodsErrors << false;
    }
    void protectionStatus()
    {
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(bool, enabled);
        StandInWorld world;
        QVERIFY(world.isValid());
        misbehave(world, QStringLiteral("usr/bin/csrutil"), misbehaviour);

        RunWatch watch(world, misbehaviour);
        std::optional<bool> answer;
        bool onMainThread = false;
        DiskUtility::checkSIPStatus([&](bool isEnabled) {
            answer = isEnabled;
            onMainThread = QThread::currentThread() == qApp->thread();
        });
        watch.verifyEnded([&] { return answer.has_value(); });
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(*answer, enabled);
        QVERIFY(onMainThread);
    }

    void packageInstallation_data()
    {
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<QString>("said");

        using M = Misbehaviour;
        QTest::addRow("missing") << M::missing << "No such file or directory";
        QTest::addRow("not executable") << M::notExecutable << "Permission denied";
        QTest::addRow("killed") << M::killed << "non-zero status";
        QTest::addRow("5 MB of errors") << M::floodsErrors << "eeeeeeeeeeeeeeeeeeee";
        QTest::addRow("invalid UTF-8") << M::invalidUtf8 << "Unknown error";
        // It claims to have installed, but no installer application appears.
        QTest::addRow("silent success")
            << M::silentSuccess << "no new installer application was detected";
    }
    void packageInstallation()
    {
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(QString, said);
        StandInWorld world;
        QVERIFY(world.isValid());
        misbehave(world, QStringLiteral("usr/sbin/installer"), misbehaviour);
        AppState state;
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning() && !state.installers().isEmpty());
        settle();
        const QStringList applications = entries(world.path(QStringLiteral("Applications")));

        RunWatch watch(world, misbehaviour);
        state.installPKGAutomated(
            QUrl::fromLocalFile(world.path(QStringLiteral("Downloads/InstallAssistant.pkg"))));
        watch.verifyEnded([&] {
            return state.progressInfo().isComplete && !state.isInstallingPKG() &&
                   !state.isScanning();
        });
        if (QTest::currentTestFailed())
            return;

        QVERIFY(!state.progressInfo().success);
        QVERIFY2(reported(state).contains(said), qPrintable(reported(state).right(500)));
        const bool offersInstaller = misbehaviour != Misbehaviour::silentSuccess;
        QCOMPARE(state.isShowingAlert(), offersInstaller);
        if (offersInstaller)
            QCOMPARE(state.alertTitle(), QStringLiteral("Installation Error"));
        QCOMPARE(entries(world.path(QStringLiteral("Applications"))), applications);
    }

private:
    std::unique_ptr<StandInWorld> m_runnerWorld;
};

QTEST_MAIN(MisbehavingToolsTest)
#include "tst_misbehavingtools.moc"
