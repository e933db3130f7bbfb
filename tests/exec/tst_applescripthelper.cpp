#include "exec/AdministratorRights.h"
#include "exec/AppleScriptHelper.h"
#include "exec/AppleScriptString.h"
#include "exec/MainThread.h"
#include "exec/Notification.h"
#include "model/OutputTail.h"
#include "model/Timing.h"
#include "support/CapturedOutput.h"
#include "support/StandInWorld.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <mutex>
#include <thread>

using Result = AppleScriptHelper::Result;
using OptText = std::optional<QString>;
using namespace std::chrono_literals;

namespace {

// Everything one streamed run reported, in order, with the thread each call came on. The time-out
// notices come on the runner's thread while the main thread may be noting a chunk.
struct StreamRecord {
    QStringList events;
    QList<bool> onMainThread;
    bool completed = false;
    int status = 0;
    OptText output;
    OptText error;
    std::mutex lock;

    void note(const QString &event)
    {
        std::lock_guard guard(lock);
        events << event;
        onMainThread << (QThread::currentThread() == QCoreApplication::instance()->thread());
    }
};

bool runStreamed(const QString &command, StreamRecord &record)
{
    AppleScriptHelper::runShellCommandWithAdminPrivilegesAsync(
        command, [&](const QString &text) { record.note(QStringLiteral("out:") + text); },
        [&](const QString &text) { record.note(QStringLiteral("err:") + text); },
        [&](int status, const OptText &output, const OptText &error) {
            record.note(QStringLiteral("done"));
            record.status = status;
            record.output = output;
            record.error = error;
            record.completed = true;
        });
    return QTest::qWaitFor([&] { return record.completed; }, 10000);
}

const QByteArray cancelled = "echo '0:60: execution error: User canceled. (-128)' >&2; exit 1";

} // namespace

class AppleScriptHelperTest : public QObject {
    Q_OBJECT

    std::optional<StandInWorld> m_world;
    // A fresh stand-in Mac, made when the test first asks for it.
    const StandInWorld &world()
    {
        if (!m_world)
            m_world.emplace();
        return *m_world;
    }

private slots:
    void init() { Timing::setCurrent(Timing()); }
    void cleanup()
    {
        QVERIFY(!m_world || m_world->isValid());
        m_world.reset();
    }

    // Backslashes are doubled before quotes get theirs; nothing else is touched.
    void adminWrapping_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("literal");
        const auto row = [](const char *name, const char *command, const char *literal) {
            QTest::newRow(name) << QString(command) << QString(literal);
        };
        row("empty", "", "\"\"");
        row("plain", "/usr/bin/true", "\"/usr/bin/true\"");
        row("quotes", "echo \"a b\"", "\"echo \\\"a b\\\"\"");
        row("backslash before quote", "printf \\\"x\\\\", "\"printf \\\\\\\"x\\\\\\\\\"");
        row("trailing backslash", "a\\", "\"a\\\\\"");
        row("line break and accents kept", "é\nà", "\"é\nà\"");
    }
    void adminWrapping()
    {
        QFETCH(QString, command);
        QFETCH(QString, literal);
        QCOMPARE(appleScriptString(command), literal);
        // On a Mac the command runs in a clean environment of its own, whatever the session had.
        const QString clean =
            QStringLiteral("/usr/bin/env -i PATH=/usr/bin:/bin:/usr/sbin:/sbin LC_ALL=C ");
        QCOMPARE(AdministratorRights::promptScript(command),
                 "do shell script " + appleScriptString(clean + command) +
                     " with administrator privileges");
    }

    void runCommandResults_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Result>("expected");
        QTest::newRow("output") << "echo hello" << Result{0, "hello\n"};
        QTest::newRow("silent failure") << "exit 3" << Result{3, ""};
        QTest::newRow("error text") << "echo out; echo bad >&2; exit 4" << Result{4, "bad\n"};
        QTest::newRow("invalid UTF-8 error")
            << "printf '\\xff\\xfe' >&2; exit 2" << Result{2, "\uFFFD\uFFFD"};
        QTest::newRow("invalid UTF-8 output") << "printf 'ok\\xff'" << Result{0, "ok\uFFFD"};
        // Neither stalls the tool, and only the last megabyte is kept for the message.
        QTest::newRow("5 MB of errors")
            << "head -c 5000000 /dev/zero | tr '\\0' e >&2; echo -n end >&2; exit 1"
            << Result{1, QString(OutputTail::defaultCapacity - 3, u'e') + "end"};
    }
    void runCommandResults()
    {
        world(); // the commands run in a stand-in Mac
        QFETCH(QString, command);
        QFETCH(Result, expected);
        QCOMPARE(AppleScriptHelper::runCommand(command), expected);
        QCOMPARE(AppleScriptHelper::getCommandOutput(command),
                 expected.status == 0 ? std::optional(expected.output) : std::nullopt);
    }

    void timeLimitsEndTheTool()
    {
        Timing timing;
        timing.commandLimit = 300ms;
        timing.adminCommandLimit = 300ms;
        timing.terminationGrace = 500ms;
        Timing::setCurrent(timing);
        // The tool ignores the polite request; it must still be gone when the call returns.
        const QString pidFile = world().path("pid");
        const QString stubborn =
            QStringLiteral("echo $$ > '%1'; trap '' TERM; sleep 30 & wait; sleep 30").arg(pidFile);
        QCOMPARE(AppleScriptHelper::runCommand(stubborn),
                 (Result{1, "Operation timed out after 5 minutes"}));
        QFile pid(pidFile);
        QVERIFY(pid.open(QIODevice::ReadOnly));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/") + pid.readAll().trimmed()));
        world().replaceTool("usr/bin/osascript", "sleep 30");
        QCOMPARE(AppleScriptHelper::runWithAdminPrivileges(QStringLiteral("true")),
                 (Result{1, "Operation timed out after 30 minutes"}));
    }

    void adminCommandThroughOsascript_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<Result>("expected");
        const QString denied = QStringLiteral("Admin authorization denied: ");
        QTest::newRow("granted") << QByteArray("echo result") << Result{0, "result\n"};
        QTest::newRow("cancelled")
            << cancelled << Result{1, denied + "0:60: execution error: User canceled. (-128)\n"};
        QTest::newRow("denied")
            << QByteArray("echo 'execution error: authorization denied (-60005)' >&2; exit 5")
            << Result{5, denied + "execution error: authorization denied (-60005)\n"};
        QTest::newRow("denial words are case-sensitive")
            << QByteArray("echo 'user canceled' >&2; exit 1") << Result{1, "user canceled\n"};
        QTest::newRow("other failure")
            << QByteArray("echo '0:38: execution error: Unable to find disk (1)' >&2; exit 1")
            << Result{1, "0:38: execution error: Unable to find disk (1)\n"};
    }
    void adminCommandThroughOsascript()
    {
        QFETCH(QByteArray, tool);
        const QString args = world().path("args");
        world().replaceTool("usr/bin/osascript",
                            "printf '%s|%s' \"$1\" \"$2\" > '" + args.toUtf8() + "'\n" + tool);
        QTEST(AppleScriptHelper::runWithAdminPrivileges(QStringLiteral("echo \"hi\"")), "expected");
        QFile recorded(args);
        QVERIFY(recorded.open(QIODevice::ReadOnly));
        const QString script = QString::fromUtf8(recorded.readAll());
        QVERIFY2(
            script.startsWith("-e|do shell script \"" + world().path("usr/bin/env") + " -i PATH="),
            qPrintable(script));
        QVERIFY2(script.endsWith(" LC_ALL=C echo \\\"hi\\\"\" with administrator privileges"),
                 qPrintable(script));
    }

    void scriptsRunByTheEngine_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<Result>("expected");
        const auto failing = [](const char *text) {
            return "echo '" + QByteArray(text) + "' >&2; exit 1";
        };
        const QString denied = QStringLiteral("Admin authorization denied: User canceled.");
        QTest::newRow("result") << QByteArray("echo hello") << Result{0, "hello"};
        QTest::newRow("nothing printable") << QByteArray("echo") << Result{0, ""};
        QTest::newRow("cancelled") << cancelled << Result{-128, denied};
        // A refusal whose number would read as success, or fits no status, is a plain failure.
        QTest::newRow("cancelled, number 0")
            << failing("0:60: execution error: User canceled. (0)") << Result{1, denied};
        QTest::newRow("cancelled, number past 32 bits")
            << failing("0:60: execution error: User canceled. (4294967296)") << Result{1, denied};
        QTest::newRow("script error")
            << failing("0:38: execution error: Unable to find disk for disk99 (1)")
            << Result{1, "AppleScript Error 1: Unable to find disk for disk99"};
        QTest::newRow("syntax error")
            << failing("26:26: syntax error: Expected expression but found end of script. (-2741)")
            << Result{1, "AppleScript Error -2741: Expected expression but found end of script."};
        QTest::newRow("no details")
            << QByteArray("exit 1") << Result{1, "AppleScript Error -1: Unknown error"};
        QTest::newRow("undecodable details")
            << QByteArray("printf 'bad \\xff' >&2; exit 1")
            << Result{1, QStringLiteral("AppleScript Error -1: bad \uFFFD")};
    }
    void scriptsRunByTheEngine()
    {
        QFETCH(QByteArray, tool);
        world().replaceTool("usr/bin/osascript", tool);
        QTEST(AppleScriptHelper::runScript(QStringLiteral("anything")), "expected");
        QTEST(AppleScriptHelper::runScript(QStringLiteral("anything"), 1min), "expected");
    }

    void launchFailures()
    {
        world().removeTool("usr/bin/osascript");
        const Result result = AppleScriptHelper::runWithAdminPrivileges(QStringLiteral("true"));
        QCOMPARE(result.status, 1);
        QVERIFY2(result.output.startsWith("Failed to run command: "), qPrintable(result.output));
        StreamRecord record;
        QVERIFY(runStreamed(QStringLiteral("true"), record));
        QCOMPARE(record.events, QStringList{"done"});
        QCOMPARE(record.onMainThread, QList<bool>{true});
        QCOMPARE(record.status, 1);
        QCOMPARE(record.output, std::nullopt);
        QVERIFY(record.error->startsWith(QStringLiteral("Failed to launch command: ")));
    }

    // A notification reaches the system with its text as it was, whatever the text holds; one
    // that cannot be posted is a diagnostic line.
    void notifications_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << "The volume \"UNTITLED\" is \"ready\"";
        QTest::newRow("backslashes") << "C:\\Installers\\ and \\\\server\\, ending in \\";
        QTest::newRow("escapes, as typed") << "\\\" \\n \\t \\\\\"";
        QTest::newRow("line break and accents") << "Première ligne\nseconde — “fin”";
        QTest::newRow("no osascript") << "Done.";
    }
    void notifications()
    {
        QFETCH(QString, text);
        const bool posted = QTest::currentDataTag() != QByteArray("no osascript");
        if (!posted)
            world().removeTool("usr/bin/osascript");
        QFile log(world().path("var/standin/notifications.log"));
        CapturedOutput diagnostics;
        postNotification(text);
        waitForBackgroundWork();
        const QString said = diagnostics.text();
        if (!posted) {
            QVERIFY2(said.startsWith("The notification was not posted: ") && said.count(u'\n') == 1,
                     qPrintable(said));
            QVERIFY(!log.exists());
            return;
        }
        QCOMPARE(said, QString());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(log.readAll()).object(),
                 (QJsonObject{{"text", text}, {"title", "Tessaline"}}));
    }

    // The command's streams reach the program while it runs, through the stand-in's osascript,
    // which like the real one hands back nothing of the command itself.
    void streamedOrderAndThreads()
    {
        QVERIFY(world().isValid());
        CapturedOutput diagnostics;
        StreamRecord record;
        QVERIFY(runStreamed(
            QStringLiteral("echo \"one\"; sleep 0.2; echo warn >&2; sleep 0.2; printf two"),
            record));
        QCOMPARE(record.events, (QStringList{"out:one\n", "err:warn\n", "out:two", "done"}));
        QCOMPARE(record.onMainThread, (QList<bool>{true, true, true, true}));
        QCOMPARE(record.status, 0);
        QCOMPARE(record.output, OptText("one\ntwo"));
        QCOMPARE(record.error, OptText());
        const QString printed = diagnostics.text();
        QVERIFY(printed.startsWith(QStringLiteral("Executing command: echo 'one';")));
        // A chunk's line break is shown as an escape: each diagnostic stays one line.
        QVERIFY(printed.contains(QStringLiteral("Command output: one\\n\n")));
        QVERIFY(printed.contains(QStringLiteral("Command error: warn\\n\n")));
        QVERIFY(printed.endsWith(QStringLiteral("Command completed with status: 0\n")));
        // The pipes' folder goes with the run.
        QCOMPARE(QDir(world().path("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    // A flood reaches the main thread one piece per turn of its loop: the job thread's next piece
    // waits until the one before has been handled, and the pieces keep their order.
    void aFloodWaitsForTheMainThread()
    {
        MainThreadFeed feed;
        std::atomic<int> posted{0};
        QStringList handled;
        std::thread job([&] {
            for (const char *piece : {"one", "two", "three"}) {
                feed.post([&handled, piece] { handled << QString::fromLatin1(piece); });
                ++posted;
            }
        });
        const auto joinJob = qScopeGuard([&] { job.join(); });
        while (posted.load() == 0)
            std::this_thread::sleep_for(1ms);
        // The main thread has not run the first piece, so the second is not queued yet.
        std::this_thread::sleep_for(50ms);
        QCOMPARE(posted.load(), 1);
        QTRY_COMPARE(handled, (QStringList{"one", "two", "three"}));
    }

    void streamedOutcomes_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("status");
        QTest::addColumn<OptText>("output");
        QTest::addColumn<OptText>("error");
        const OptText notGranted(QStringLiteral("Admin privileges required but not granted"));
        const auto row = [](const char *name, const char *prompt,
                            const char *command) -> QTestData & {
            return QTest::newRow(name) << QString(prompt) << QString(command);
        };
        row("silent", "grant", "exit 0") << 0 << OptText() << OptText();
        // The command's own status; why it failed came through the error handler.
        row("failure", "grant", "echo no >&2; exit 7") << 7 << OptText() << OptText();
        row("cancelled at the prompt", "cancel", "echo ran") << 126 << OptText() << notGranted;
        row("denied at the prompt", "deny", "echo ran") << 126 << OptText() << notGranted;
        // An undecodable byte becomes the replacement character; a character split between chunks
        // stays whole, and one cut off by the end of the stream is replaced too.
        row("split character", "grant",
            "printf '\\xc3'; sleep 0.2; printf '\\xa9\\n'; printf '\\xff' >&2")
            << 0 << OptText(QStringLiteral("é\n")) << OptText();
        row("unfinished at the end", "grant", "printf 'ok \\xe2'")
            << 0 << OptText(QStringLiteral("ok \uFFFD")) << OptText();
        row("pieces joined", "grant",
            "printf 'a\xe2\x82\xac'; sleep 0.1; printf '\xf0\x9f\x92\xbe\n'")
            << 0 << OptText(QStringLiteral("a€💾\n")) << OptText();
    }
    void streamedOutcomes()
    {
        QFETCH(QString, prompt);
        QFETCH(QString, command);
        world().writeState("admin.json", {{"prompt", prompt}, {"delay", 0}});
        StreamRecord record;
        QVERIFY(runStreamed(command, record));
        QTEST(record.status, "status");
        QTEST(record.output, "output");
        QTEST(record.error, "error");
    }

    // The rights wait ends only a command that has not got its rights; once it has them, only the
    // overall limit can end it, and its output arrives all along.
    void streamedTimeLimits()
    {
        Timing timing;
        timing.adminRightsWait = 300ms;
        timing.adminStreamLimit = 1500ms;
        Timing::setCurrent(timing);
        world().writeState("admin.json", {{"prompt", "grant"}, {"delay", 30}});
        StreamRecord waiting;
        QVERIFY(runStreamed(QStringLiteral("echo ran"), waiting));
        QCOMPARE(waiting.events, QStringList{"done"});
        QCOMPARE(waiting.status, 15);
        QCOMPARE(waiting.error,
                 OptText("Timeout while waiting for admin privileges. Please try again."));

        world().writeState("admin.json", {{"prompt", "grant"}, {"delay", 0}});
        QElapsedTimer clock;
        clock.start();
        qint64 firstSeen = -1;
        StreamRecord longer;
        AppleScriptHelper::runShellCommandWithAdminPrivilegesAsync(
            QStringLiteral("echo started; sleep 0.8; echo finished"),
            [&](const QString &text) {
                if (firstSeen < 0)
                    firstSeen = clock.elapsed();
                longer.note(QStringLiteral("out:") + text);
            },
            [&](const QString &text) { longer.note(QStringLiteral("err:") + text); },
            [&](int status, const OptText &, const OptText &error) {
                longer.status = status;
                longer.error = error;
                longer.completed = true;
            });
        QVERIFY(QTest::qWaitFor([&] { return longer.completed; }, 10000));
        QCOMPARE(longer.events, (QStringList{"out:started\n", "out:finished\n"}));
        QCOMPARE(longer.status, 0);
        QCOMPARE(longer.error, OptText());
        QVERIFY2(firstSeen >= 0 && firstSeen < 700, qPrintable(QString::number(firstSeen)));

        StreamRecord running;
        QVERIFY(runStreamed(QStringLiteral("echo started; sleep 30"), running));
        QCOMPARE(running.events, (QStringList{"out:started\n", "done"}));
        QCOMPARE(running.output, OptText("started\n"));
        QCOMPARE(running.error, OptText("Operation timed out after 3 hours. Terminating process."));
    }

    void defaultTimingIsTheRealOne()
    {
        const Timing timing;
        QCOMPARE(timing.commandLimit, 300s);
        QCOMPARE(timing.adminCommandLimit, 1800s);
        QCOMPARE(timing.adminRightsWait, 300s);
        QCOMPARE(timing.adminStreamLimit, 10800s);
        QCOMPARE(timing.terminalCommandLimit, 7200s);
        QCOMPARE(timing.diskToolLimit, 30s);
        QCOMPARE(timing.protectionStatusLimit, 15s);
    }
};

QTEST_GUILESS_MAIN(AppleScriptHelperTest)
#include "tst_applescripthelper.moc"
