// Runs the stand-in's osascript, sudo and caffeinate through a world's links, the way the
// application's scripts reach them, and holds them to the real tools' wording, streams and exit
// statuses.
#include "support/StandInWorld.h"
#include "support/Transcript.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// Quotes, substitutions, a backslash, blanks and non-ASCII: all a shell would act on.
static const QByteArray password = "pa\"ss' $(touch x) `touch x` a\\b ünï";

class TestStandinOsascriptSudo : public QObject {
    Q_OBJECT

private:
    struct Answer {
        const char *tool;
        QStringList args;
        int exitCode;
        QByteArray out;
        QByteArray err;
        QByteArray input = {};
        const char *prompt = "grant"; // how the administrator answers osascript
    };

    QTemporaryDir m_temporary;
    std::optional<StandInWorld> m_world;
    QString m_root;

    static QStringList e(const char *script) { return {u"-e"_s, QString::fromUtf8(script)}; }
    // `do shell script "COMMAND"`, COMMAND in AppleScript's quoting.
    static QStringList shell(const char *command)
    {
        return {u"-e"_s, "do shell script \""_L1 + QString::fromUtf8(command) + u'"'};
    }
    // A failure as osascript reports it: status 1 and the complaint alone.
    static Answer failure(const QStringList &args, const QByteArray &err,
                          const char *prompt = "grant")
    {
        return {"osascript", args, 1, {}, err, {}, prompt};
    }

    // The run the real tool's transcript `tool`/`name` records, stream by stream.
    static Answer recorded(const char *tool, const char *name, const QStringList &args,
                           const QByteArray &input = {}, const char *prompt = "grant")
    {
        const Transcript run = Transcript::read(QLatin1String(tool), QLatin1String(name));
        return {tool,
                args,
                run.exitStatus,
                run.streamText(false).toUtf8(),
                run.streamText(true).toUtf8(),
                input,
                prompt};
    }

    void setAdmin(const char *prompt)
    {
        QFile file(m_root + "/var/standin/admin.json"_L1);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(QJsonObject{{"password", QString::fromUtf8(password)},
                                             {"prompt", QString::fromUtf8(prompt)}})
                       .toJson());
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
        m_world.emplace(StandInWorld::asMade());
        m_root = m_world->canonicalRoot();
        QVERIFY(!m_root.isEmpty());
    }

    // osascript fails exactly when it complains; refused, the command never runs. sudo neither
    // runs the password nor writes it anywhere.
    void answers_data()
    {
        QTest::addColumn<Answer>("answer");
        const QByteArray expectedEnd = "syntax error: Expected expression but found end of script. "
                                       "(-2741)\n";
        QTest::newRow("result") << recorded("osascript", "do-shell-script-ok", shell("echo hello"));
        QTest::newRow("the command's complaint")
            << recorded("osascript", "do-shell-script-fails", shell("diskutil eject disk99"));
        QTest::newRow("lines joined by CR")
            << Answer{"osascript", shell("printf 'a\\\\nb\\\\n\\\\n'"), 0, "a\rb\r\n", {}};
        // In AppleScript \\ and \" stand for \ and ", so bash is given: printf '%s' "a\\b".
        QTest::newRow("backslash and quote")
            << Answer{"osascript", shell("printf '%s' \\\"a\\\\\\\\b\\\""), 0, "a\\b\n", {}};
        QTest::newRow("tab and line break") << Answer{
            "osascript", shell("printf '%s' \\\"x\\ty\\\"; echo\\necho z"), 0, "x\ty\rz\n", {}};
        QTest::newRow("invalid UTF-8")
            << Answer{"osascript", shell("printf '\\\\377\\\\376ok'"), 0, "\xff\xfeok\n", {}};
        QTest::newRow("fails with its error output")
            << failure(shell("echo nope >&2; exit 3"), "0:39: execution error: nope (3)\n");
        QTest::newRow("fails with output only")
            << failure(shell("echo out; exit 2"), "0:34: execution error: out (2)\n");
        QTest::newRow("fails silently")
            << failure(shell("exit 5"),
                       "0:24: execution error: The command exited with a non-zero status. (5)\n");
        QTest::newRow("end counts characters")
            << failure(shell("echo ünï >&2; exit 1"), "0:38: execution error: ünï (1)\n");
        QTest::newRow("dangling with")
            << recorded("osascript", "syntax-error", e("do shell script \"a\" with"));
        QTest::newRow("unknown statement")
            << failure(e("tell application \"Terminal\" to activate"), "39:39: " + expectedEnd);
        QTest::newRow("notification") << Answer{
            "osascript", e("display notification \"Ready\" with title \"Tessaline\""), 0, {}, {}};
        QTest::newRow("unknown escape") << failure(
            shell("a\\q"), "0:21: syntax error: Expected “\"” but found unknown token. (-2741)\n");

        QTest::newRow("cancelled, as recorded") << recorded(
            "osascript", "admin-cancelled",
            e("do shell script \"/usr/bin/true\" with administrator privileges"), {}, "cancel");
        const QStringList touch = e("do shell script \"touch x\" with administrator privileges");
        QTest::newRow("cancelled")
            << failure(touch, "0:55: execution error: User canceled. (-128)\n", "cancel");
        QTest::newRow("denied") << failure(
            touch, "0:55: execution error: authorization denied (-60005)\n", "deny");
        QTest::newRow("rights only when asked")
            << failure(shell("printenv TESSALINE_STANDIN_ADMIN"),
                       "0:50: execution error: The command exited with a non-zero status. (1)\n");

        const QStringList printOk{"-S", "printf", "ok"};
        const QByteArray right = password + '\n';
        QTest::newRow("sudo, as recorded")
            << recorded("sudo", "password-ok", {"-S", "/usr/bin/id", "-u"}, right);
        QTest::newRow("sudo, wrong, as recorded")
            << recorded("sudo", "password-wrong", {"-S", "/usr/bin/id", "-u"}, "WRONG\n");
        QTest::newRow("sudo, right") << Answer{"sudo", printOk, 0, "ok", "Password:", right};
        QTest::newRow("sudo, right at the second try") << Answer{
            "sudo", printOk, 0, "ok", "Password:Sorry, try again.\nPassword:", "wrong\n" + right};
        const QByteArray oneWrong = "Password:Sorry, try again.\nPassword:\nsudo: no password was "
                                    "provided\nsudo: 1 incorrect password attempt\n";
        QTest::newRow("sudo, wrong") << Answer{"sudo", printOk, 1, {}, oneWrong, password + "x\n"};
        QTest::newRow("sudo, command's status")
            << Answer{"sudo", {"-S", "sh", "-c", "exit 7"}, 7, {}, "Password:", right};

        const auto refused = [](const QStringList &args, const QByteArray &complaint) {
            return Answer{"caffeinate",
                          args,
                          1,
                          {},
                          complaint + "usage: caffeinate [-disu] [-t timeout] [-w pid] [utility "
                                      "arguments...]\n"};
        };
        QTest::newRow("caffeinate, unknown flag")
            << refused({"-i", "-x"}, "caffeinate: illegal option -- x\n");
        QTest::newRow("caffeinate, -w without its pid")
            << refused({"-i", "-w"}, "caffeinate: option requires an argument -- w\n");
        QTest::newRow("caffeinate, -t of no number") << refused({"-t", "soon"}, {});
        // A process that is not there has gone already; flags may share a word.
        QTest::newRow("caffeinate, pid gone")
            << Answer{"caffeinate", {"-dimsu", "-w", "2147483647"}, 0, {}, {}};
        QTest::newRow("caffeinate, time out") << Answer{"caffeinate", {"-it1"}, 0, {}, {}};
    }

    void answers()
    {
        QFETCH(Answer, answer);
        setAdmin(answer.prompt);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"TESSALINE_HOST_ROOT"_s);
        environment.remove(u"TESSALINE_STANDIN_ADMIN"_s);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_temporary.path());
        process.start(m_root + "/usr/bin/"_L1 + QLatin1String(answer.tool), answer.args);
        process.write(answer.input);
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(10'000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.readAllStandardError(), answer.err);
        QCOMPARE(process.readAllStandardOutput(), answer.out);
        QCOMPARE(process.exitCode(), answer.exitCode);
        QVERIFY(!QFileInfo::exists(m_temporary.filePath(u"x"_s)));
        QFile log(m_root + "/var/standin/sudo.log"_L1);
        QVERIFY(!log.open(QIODevice::ReadOnly) || !log.readAll().contains(password));
    }
};

QTEST_GUILESS_MAIN(TestStandinOsascriptSudo)
#include "tst_standin_osascript_sudo.moc"
