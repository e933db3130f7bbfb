#include "exec/AppleScriptError.h"
#include "exec/AppleScriptHelper.h"
#include "model/Timing.h"
#include "support/CapturedOutput.h"
#include "support/StandInWorld.h"

#include <QThread>
#include <QtTest>

#include <mutex>

using Result = AppleScriptHelper::Result;
using namespace std::chrono_literals;

namespace {

// Everything one streamed run reported, in order, with the thread each call came on. The time-out
// notices come on the runner's thread while the main thread may be noting a chunk.
struct StreamRecord {
    QStringList events;
    QList<bool> onMainThread;
    bool completed = false;
    int status = 0;
    std::optional<QString> output;
    std::optional<QString> error;
    std::mutex lock;

    void note(const QString &event)
    {
        std::lock_guard guard(lock);
        events << event;
        onMainThread << (QThread::currentThread() == QCoreApplication::instance()->thread());
    }
};

void runStreamed(const QString &command, StreamRecord &record)
{
    AppleScriptHelper::runShellCommandWithAdminPrivilegesAsync(
        command, [&](const QString &text) { record.note(QStringLiteral("out:") + text); },
        [&](const QString &text) { record.note(QStringLiteral("err:") + text); },
        [&](int status, const std::optional<QString> &output, const std::optional<QString> &error) {
            record.note(QStringLiteral("done"));
            record.status = status;
            record.output = output;
            record.error = error;
            record.completed = true;
        });
}

} // namespace

class AppleScriptHelperTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Timing::setCurrent(Timing()); }

    void adminWrapping_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("script");
        QTest::newRow("plain") << "/usr/bin/true"
                               << "do shell script \"/usr/bin/true\" with administrator privileges";
        QTest::newRow("quotes")
            << "echo \"a b\""
            << "do shell script \"echo \\\"a b\\\"\" with administrator privileges";
        QTest::newRow("backslash doubled before quotes get theirs")
            << "printf \\\"x\\\\"
            << "do shell script \"printf \\\\\\\"x\\\\\\\\\" with administrator privileges";
    }
    void adminWrapping()
    {
        QFETCH(QString, command);
        QFETCH(QString, script);
        QCOMPARE(AppleScriptHelper::adminScript(command), script);
    }

    void errorDescriptions()
    {
        QCOMPARE(AppleScriptError::scriptExecutionFailed(-128, "User canceled.").description(),
                 QStringLiteral("AppleScript execution failed (Error -128): User canceled."));
        QCOMPARE(AppleScriptError::processLaunchFailed("No such file").description(),
                 QStringLiteral("Failed to launch process: No such file"));
        QCOMPARE(AppleScriptError::invalidOutput("%1").description(),
                 QStringLiteral("Invalid output: %1"));
        QCOMPARE(AppleScriptError::adminPrivilegesDenied("no").description(),
                 QStringLiteral("Admin privileges required: no"));
        QCOMPARE(AppleScriptError::timeout().description(), QStringLiteral("Operation timed out"));
    }

    void runCommandResults_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Result>("expected");
        QTest::newRow("output") << "echo hello" << Result{0, "hello\n"};
        QTest::newRow("silent failure") << "exit 3" << Result{3, ""};
        QTest::newRow("error text") << "echo out; echo bad >&2; exit 4" << Result{4, "bad\n"};
        QTest::newRow("invalid UTF-8 error")
            << "printf '\\xff\\xfe' >&2; exit 2" << Result{2, "Unknown error"};
        QTest::newRow("invalid UTF-8 output") << "printf 'ok\\xff'" << Result{0, ""};
        QTest::newRow("5 MB of errors does not stall")
            << "head -c 5000000 /dev/zero | tr '\\0' e >&2; exit 1"
            << Result{1, QString(5000000, u'e')};
    }
    void runCommandResults()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QFETCH(QString, command);
        QFETCH(Result, expected);
        const Result result = AppleScriptHelper::runCommand(command);
        QCOMPARE(result.status, expected.status);
        QCOMPARE(result.output, expected.output);
        QCOMPARE(AppleScriptHelper::getCommandOutput(command),
                 expected.status == 0 ? std::optional(expected.output) : std::nullopt);
    }

    void timeLimitsEndTheTool()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        Timing timing;
        timing.commandLimit = 300ms;
        timing.adminCommandLimit = 300ms;
        timing.terminationGrace = 500ms;
        Timing::setCurrent(timing);
        // The tool ignores the polite request; it must still be gone when the call returns.
        const QString pidFile = world.path(QStringLiteral("pid"));
        const QString stubborn =
            QStringLiteral("echo $$ > '%1'; trap '' TERM; sleep 30 & wait; sleep 30").arg(pidFile);
        QCOMPARE(AppleScriptHelper::runCommand(stubborn),
                 (Result{1, "Operation timed out after 5 minutes"}));
        QFile pid(pidFile);
        QVERIFY(pid.open(QIODevice::ReadOnly));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/") + pid.readAll().trimmed()));

        world.replaceTool(QStringLiteral("usr/bin/osascript"), "sleep 30");
        QCOMPARE(AppleScriptHelper::runWithAdminPrivileges(QStringLiteral("true")),
                 (Result{1, "Operation timed out after 30 minutes"}));
    }

    void adminCommandThroughOsascript_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<Result>("expected");
        QTest::newRow("granted") << QByteArray("echo result") << Result{0, "result\n"};
        QTest::newRow("cancelled")
            << QByteArray("echo '0:60: execution error: User canceled. (-128)' >&2; exit 1")
            << Result{1, "Admin authorization denied: 0:60: execution error: User canceled. "
                         "(-128)\n"};
        QTest::newRow("denied")
            << QByteArray("echo 'execution error: authorization denied (-60005)' >&2; exit 5")
            << Result{5, "Admin authorization denied: execution error: authorization denied "
                         "(-60005)\n"};
        QTest::newRow("denial words are case-sensitive")
            << QByteArray("echo 'user canceled' >&2; exit 1") << Result{1, "user canceled\n"};
        QTest::newRow("other failure")
            << QByteArray("echo '0:38: execution error: Unable to find disk (1)' >&2; exit 1")
            << Result{1, "0:38: execution error: Unable to find disk (1)\n"};
    }
    void adminCommandThroughOsascript()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QFETCH(QByteArray, tool);
        QFETCH(Result, expected);
        const QByteArray record = "printf '%s|%s' \"$1\" \"$2\" > '" +
                                  world.path(QStringLiteral("args")).toUtf8() + "'\n";
        world.replaceTool(QStringLiteral("usr/bin/osascript"), record + tool);
        QCOMPARE(AppleScriptHelper::runWithAdminPrivileges(QStringLiteral("echo \"hi\"")),
                 expected);
        QFile args(world.path(QStringLiteral("args")));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(
            QString::fromUtf8(args.readAll()),
            QStringLiteral("-e|do shell script \"echo \\\"hi\\\"\" with administrator privileges"));
    }

    void missingScriptRunner()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        world.removeTool(QStringLiteral("usr/bin/osascript"));
        const Result result = AppleScriptHelper::runWithAdminPrivileges(QStringLiteral("true"));
        QCOMPARE(result.status, 1);
        QVERIFY2(result.output.startsWith(QStringLiteral("Failed to run command: ")),
                 qPrintable(result.output));
    }

    void scriptsRunByTheEngine_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<Result>("expected");
        QTest::newRow("result") << QByteArray("echo hello") << Result{0, "hello"};
        QTest::newRow("nothing printable") << QByteArray("echo") << Result{0, ""};
        QTest::newRow("cancelled")
            << QByteArray("echo '0:60: execution error: User canceled. (-128)' >&2; exit 1")
            << Result{-128, "Admin authorization denied: User canceled."};
        // A refusal whose number would read as success, or fits no status, is a plain failure.
        QTest::newRow("cancelled, number 0")
            << QByteArray("echo '0:60: execution error: User canceled. (0)' >&2; exit 1")
            << Result{1, "Admin authorization denied: User canceled."};
        QTest::newRow("cancelled, number past 32 bits")
            << QByteArray("echo '0:60: execution error: User canceled. (4294967296)' >&2; exit 1")
            << Result{1, "Admin authorization denied: User canceled."};
        QTest::newRow("script error")
            << QByteArray("echo '0:38: execution error: Unable to find disk for disk99 (1)' >&2;"
                          "exit 1")
            << Result{1, "AppleScript Error 1: Unable to find disk for disk99"};
        QTest::newRow("syntax error")
            << QByteArray("echo '0:26: syntax error: Expected expression but found end of "
                          "script. (-2741)' >&2; exit 1")
            << Result{1, "AppleScript Error -2741: Expected expression but found end of script."};
        QTest::newRow("no details")
            << QByteArray("exit 1") << Result{1, "AppleScript Error -1: Unknown error"};
        QTest::newRow("undecodable details") << QByteArray("printf '\\xff' >&2; exit 1")
                                             << Result{1, "AppleScript Error -1: Unknown error"};
    }
    void scriptsRunByTheEngine()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QFETCH(QByteArray, tool);
        QFETCH(Result, expected);
        world.replaceTool(QStringLiteral("usr/bin/osascript"), tool);
        QCOMPARE(AppleScriptHelper::runScript(QStringLiteral("anything")), expected);
        QCOMPARE(AppleScriptHelper::runWithAdminPrivileges(
                     QStringLiteral("true"), AppleScriptHelper::ExecutionMethod::appleScript),
                 expected);
    }

    void streamedOrderAndThreads()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        world.replaceTool(QStringLiteral("usr/bin/osascript"),
                          "echo one; sleep 0.2; echo warn >&2; sleep 0.2; printf two");
        CapturedOutput diagnostics;
        StreamRecord record;
        runStreamed(QStringLiteral("say \"hi\""), record);
        QTRY_VERIFY(record.completed);
        QCOMPARE(record.events, (QStringList{"out:one\n", "err:warn\n", "out:two", "done"}));
        QCOMPARE(record.onMainThread, (QList<bool>{true, true, true, true}));
        QCOMPARE(record.status, 0);
        QCOMPARE(record.output, std::optional<QString>("one\ntwo"));
        QCOMPARE(record.error, std::optional<QString>("warn\n"));
        const QString printed = diagnostics.text();
        QVERIFY(printed.startsWith(QStringLiteral("Executing command: say 'hi'\n")));
        QVERIFY(printed.contains(QStringLiteral("Command output: one\n")));
        QVERIFY(printed.contains(QStringLiteral("Command error: warn\n")));
        QVERIFY(printed.endsWith(QStringLiteral("Command completed with status: 0\n")));
    }

    void streamedOutcomes_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<int>("status");
        QTest::addColumn<std::optional<QString>>("output");
        QTest::addColumn<std::optional<QString>>("error");
        QTest::newRow("silent") << QByteArray("exit 0") << 0 << std::optional<QString>()
                                << std::optional<QString>();
        QTest::newRow("failure") << QByteArray("echo no >&2; exit 7") << 7
                                 << std::optional<QString>() << std::optional<QString>("no\n");
        QTest::newRow("cancelled at the prompt")
            << QByteArray("echo '0:60: execution error: User canceled. (-128)' >&2; exit 1") << 126
            << std::optional<QString>()
            << std::optional<QString>("Admin privileges required but not granted");
        QTest::newRow("denied after some output")
            << QByteArray("echo partial; sleep 0.1; echo 'authorization denied' >&2; exit 1") << 126
            << std::optional<QString>("partial\n")
            << std::optional<QString>("Admin privileges required but not granted");
        // Undecodable chunks are dropped, but a character split between chunks is not.
        QTest::newRow("split character")
            << QByteArray("printf '\\xc3'; sleep 0.2; printf '\\xa9\\n'; printf '\\xff' >&2") << 0
            << std::optional<QString>(QStringLiteral("é\n")) << std::optional<QString>();
        QTest::newRow("pieces joined")
            << QByteArray("printf 'a\xe2\x82\xac'; sleep 0.1; printf '\xf0\x9f\x92\xbe\n'") << 0
            << std::optional<QString>(QStringLiteral("a€💾\n")) << std::optional<QString>();
    }
    void streamedOutcomes()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QFETCH(QByteArray, tool);
        world.replaceTool(QStringLiteral("usr/bin/osascript"), tool);
        StreamRecord record;
        runStreamed(QStringLiteral("true"), record);
        QTRY_VERIFY(record.completed);
        QTEST(record.status, "status");
        QTEST(record.output, "output");
        QTEST(record.error, "error");
    }

    void streamedLaunchFailure()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        world.removeTool(QStringLiteral("usr/bin/osascript"));
        StreamRecord record;
        runStreamed(QStringLiteral("true"), record);
        QTRY_VERIFY(record.completed);
        QCOMPARE(record.events, QStringList{"done"});
        QCOMPARE(record.onMainThread, QList<bool>{true});
        QCOMPARE(record.status, 1);
        QCOMPARE(record.output, std::nullopt);
        QVERIFY(record.error->startsWith(QStringLiteral("Failed to launch command: ")));
    }

    // The rights wait ends a tool that has said nothing; once it has spoken, only the overall
    // limit can end it.
    void streamedTimeLimits()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        Timing timing;
        timing.adminRightsWait = 300ms;
        timing.adminStreamLimit = 1200ms;
        Timing::setCurrent(timing);

        world.replaceTool(QStringLiteral("usr/bin/osascript"), "sleep 30");
        StreamRecord waiting;
        runStreamed(QStringLiteral("true"), waiting);
        QTRY_VERIFY(waiting.completed);
        QCOMPARE(waiting.events,
                 (QStringList{"err:Timeout while waiting for admin privileges. Please try again.",
                              "done"}));
        QCOMPARE(waiting.onMainThread, (QList<bool>{false, true}));
        QCOMPARE(waiting.status, 15);

        world.replaceTool(QStringLiteral("usr/bin/osascript"), "echo started; sleep 30");
        StreamRecord running;
        runStreamed(QStringLiteral("true"), running);
        QTRY_VERIFY(running.completed);
        QCOMPARE(running.events,
                 (QStringList{"out:started\n",
                              "out:\nOperation timed out after 3 hours. Terminating process.\n",
                              "done"}));
        QCOMPARE(running.onMainThread, (QList<bool>{true, false, true}));
        QCOMPARE(running.output, std::optional<QString>("started\n"));
    }

    void defaultTimingIsTheRealOne()
    {
        const Timing timing;
        QCOMPARE(timing.commandLimit, 300s);
        QCOMPARE(timing.adminCommandLimit, 1800s);
        QCOMPARE(timing.adminRightsWait, 300s);
        QCOMPARE(timing.adminStreamLimit, 10800s);
        QCOMPARE(timing.terminalCommandLimit, 7200s);
    }
};

QTEST_GUILESS_MAIN(AppleScriptHelperTest)
#include "tst_applescripthelper.moc"
