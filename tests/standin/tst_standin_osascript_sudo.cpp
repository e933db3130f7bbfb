// Runs the stand-in's osascript and sudo through a world's links, the way the application's
// scripts reach them, and holds them to the real tools' wording, streams and exit statuses.
#include "support/StandInProgram.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList e(const char *script)
{
    return {QStringLiteral("-e"), QString::fromUtf8(script)};
}

} // namespace

class TestStandinOsascriptSudo : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_temporary;
    QString m_root;

    QString tool(const char *name) const { return m_root + "/usr/bin/" + QLatin1String(name); }
    QString sudoLog() const { return m_root + QStringLiteral("/var/standin/sudo.log"); }

    // Outside any world's settings, so a tool finds its world by the link it was run through.
    static QProcessEnvironment environment()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TESSALINE_HOST_ROOT"));
        environment.remove(QStringLiteral("TESSALINE_STANDIN_ADMIN"));
        return environment;
    }

    Result run(const QString &program, const QStringList &args, const QByteArray &input = {},
               const QProcessEnvironment &environment = TestStandinOsascriptSudo::environment())
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_temporary.path());
        process.start(program, args);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(10'000)) {
            process.kill();
            process.waitForFinished();
            return {};
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    Result osascript(const QString &script) { return run(tool("osascript"), {"-e", script}); }

    void setAdmin(const QString &password, const QString &prompt)
    {
        QFile file(m_root + QStringLiteral("/var/standin/admin.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(QJsonObject{{"password", password}, {"prompt", prompt}}).toJson());
    }

    QJsonObject lastLogEntry() const
    {
        return QJsonDocument::fromJson(readFile(sudoLog()).trimmed().split('\n').constLast())
            .object();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
        m_root = m_temporary.filePath(QStringLiteral("mac"));
        const Result made = run(standinProgram(), {QStringLiteral("make-world"), m_root});
        QVERIFY2(made.exitCode == 0, made.err.constData());
        m_root = QFileInfo(m_root).canonicalFilePath();
    }

    void init()
    {
        setAdmin(QStringLiteral("tessaline"), QStringLiteral("grant"));
        QFile::remove(sudoLog());
    }

    void findsItsWorld_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::addColumn<bool>("hostRootSet");
        QTest::newRow("link") << true << false;
        QTest::newRow("link, host root set") << true << true;
        QTest::newRow("program, host root set") << false << true;
    }

    void findsItsWorld()
    {
        QFETCH(bool, throughLink);
        QFETCH(bool, hostRootSet);
        QProcessEnvironment environment = this->environment();
        if (hostRootSet)
            environment.insert(QStringLiteral("TESSALINE_HOST_ROOT"), m_root);
        const auto runTool = [&](const char *name, const QStringList &args, const char *input) {
            return throughLink
                       ? run(tool(name), args, input, environment)
                       : run(standinProgram(), QStringList{name} + args, input, environment);
        };

        const Result script = runTool(
            "osascript", e("do shell script \"echo hi\" with administrator privileges"), "");
        QCOMPARE(script.err, QByteArray());
        QCOMPARE(script.out, QByteArray("hi\n"));
        const Result sudo = runTool("sudo", {"-S", "printf", "ok"}, "tessaline\n");
        QCOMPARE(sudo.err, QByteArray("Password:"));
        QCOMPARE(sudo.out, QByteArray("ok"));
    }

    // Fails exactly when it complains: status 1 with a complaint, else 0.
    void osascriptAnswers_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const QByteArray none;
        const QByteArray expectedEnd = "Expected expression but found end of script. (-2741)\n";

        QTest::newRow("result") << e("do shell script \"echo hello\"") << none << "hello\n"_ba
                                << none;
        QTest::newRow("empty result") << e("do shell script \"true\"") << none << "\n"_ba << none;
        QTest::newRow("lines joined by CR")
            << e("do shell script \"printf 'a\\\\nb\\\\n\\\\n'\"") << none << "a\rb\r\n"_ba << none;
        // In AppleScript \\ and \" stand for \ and ", so bash is given: printf '%s' "a\\b".
        QTest::newRow("backslash and quote")
            << e("do shell script \"printf '%s' \\\"a\\\\\\\\b\\\"\"") << none << "a\\b\n"_ba
            << none;
        QTest::newRow("tab and line break")
            << e("do shell script \"printf '%s' \\\"x\\ty\\\"; echo\\necho z\"") << none
            << "x\ty\rz\n"_ba << none;
        QTest::newRow("invalid UTF-8") << e("do shell script \"printf '\\\\377\\\\376ok'\"") << none
                                       << "\xff\xfeok\n"_ba << none;
        QTest::newRow("command reads standard input")
            << e("do shell script \"tr a-z A-Z\"") << "abc\n"_ba
            << "ABC\n"_ba << none;
        QTest::newRow("script from standard input")
            << QStringList() << "do shell script \"echo piped\"\n"_ba
            << "piped\n"_ba << none;

        QTest::newRow("fails with its error output")
            << e("do shell script \"echo nope >&2; exit 3\"") << none << none
            << "0:39: execution error: nope (3)\n"_ba;
        QTest::newRow("fails with output only") << e("do shell script \"echo out; exit 2\"") << none
                                                << none << "0:34: execution error: out (2)\n"_ba;
        QTest::newRow("fails silently")
            << e("do shell script \"exit 5\"") << none << none
            << "0:24: execution error: The command exited with a non-zero status. (5)\n"_ba;
        QTest::newRow("end counts characters")
            << e("do shell script \"echo ünï >&2; exit 1\"") << none << none
            << "0:38: execution error: ünï (1)\n"_ba;
        QTest::newRow("each -e is a line") << e("do shell script \"echo a") + e("exit 4\"") << none
                                           << none << "0:31: execution error: a (4)\n"_ba;

        QTest::newRow("dangling with") << e("do shell script \"a\" with") << none << none
                                       << "0:24: syntax error: " + expectedEnd;
        QTest::newRow("unknown statement") << e("tell application \"Terminal\" to activate") << none
                                           << none << "0:39: syntax error: " + expectedEnd;
        QTest::newRow("unknown escape")
            << e("do shell script \"a\\q\"") << none << none
            << "0:21: syntax error: Expected “\"” but found unknown token. (-2741)\n"_ba;
        QTest::newRow("-e without script")
            << QStringList{"-e"} << none << none
            << "osascript: option requires an argument -- e\nusage: osascript [-l language] [-e "
               "script] [-i] [-s {ehso}] [programfile] [argument ...]\n"_ba;
    }

    void osascriptAnswers()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        const Result result = run(tool("osascript"), args, input);
        QCOMPARE(result.err, err);
        QCOMPARE(result.out, out);
        QCOMPARE(result.exitCode, err.isEmpty() ? 0 : 1);
    }

    void administratorPrompt_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("grant") << "grant" << QByteArray();
        QTest::newRow("cancel") << "cancel"
                                << "User canceled. (-128)"_ba;
        QTest::newRow("deny") << "deny"
                              << "authorization denied (-60005)"_ba;
    }

    void administratorPrompt()
    {
        QFETCH(QString, prompt);
        QFETCH(QByteArray, error);
        setAdmin(QStringLiteral("tessaline"), prompt);
        const QString canary = m_temporary.filePath(QStringLiteral("canary-") + prompt);
        const QString script =
            QStringLiteral("do shell script \"touch '%1'\" with administrator privileges")
                .arg(canary);
        const Result result = osascript(script);
        QCOMPARE(result.err, error.isEmpty() ? error
                                             : "0:" + QByteArray::number(script.size()) +
                                                   ": execution error: " + error + '\n');
        QCOMPARE(result.out, error.isEmpty() ? "\n"_ba : QByteArray());
        QCOMPARE(result.exitCode, error.isEmpty() ? 0 : 1);
        QCOMPARE(QFileInfo::exists(canary), error.isEmpty());
    }

    // Tools that need rights (createinstallmedia, a sudo inside) see them only when granted.
    void administratorRightsReachTheCommand()
    {
        const QString command =
            QStringLiteral("printenv TESSALINE_STANDIN_ADMIN; '%1' printf ok").arg(tool("sudo"));
        const Result granted = osascript(
            QStringLiteral("do shell script \"%1\" with administrator privileges").arg(command));
        QCOMPARE(granted.err, QByteArray());
        QCOMPARE(granted.out, m_root.toUtf8() + "\rok\n");
        QCOMPARE(lastLogEntry().value("password").toString(), QStringLiteral("not asked"));
        QCOMPARE(osascript("do shell script \"printenv TESSALINE_STANDIN_ADMIN\"").exitCode, 1);
    }

    void volumeIcon_data()
    {
        QTest::addColumn<QString>("volume");
        QTest::addColumn<bool>("iconExists");
        QTest::addColumn<QString>("error");
        QTest::newRow("set") << "UNTITLED" << true << QString();
        QTest::newRow("name with a blank") << "Shared Support" << true << QString();
        QTest::newRow("unknown volume")
            << "NOPE" << true
            << QStringLiteral("Finder got an error: Can’t get disk \"NOPE\". (-1728)");
        QTest::newRow("missing icon") << "UNTITLED" << false << QStringLiteral("(-43)");
    }

    void volumeIcon()
    {
        QFETCH(QString, volume);
        QFETCH(bool, iconExists);
        QFETCH(QString, error);
        const QString icon = m_temporary.filePath(QStringLiteral("temp_icon.icns"));
        const QString target = m_root + "/Volumes/" + volume + "/.VolumeIcon.icns";
        QFile::remove(icon);
        QFile::remove(target);
        if (iconExists) {
            QFile file(icon);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("II*\0 icon", 9) == 9);
        }

        const QString script = QStringLiteral("tell application \"Finder\"\n"
                                              "    set icon of disk \"%1\" to POSIX file \"%2\"\n"
                                              "end tell")
                                   .arg(volume, icon);
        const Result result = osascript(script);
        QCOMPARE(result.out, QByteArray());
        QCOMPARE(result.exitCode, error.isEmpty() ? 0 : 1);
        if (error.isEmpty()) {
            QCOMPARE(result.err, QByteArray());
            QCOMPARE(readFile(target), QByteArray("II*\0 icon", 9));
        } else {
            const QString err = QString::fromUtf8(result.err);
            QVERIFY2(err.startsWith(QStringLiteral("0:%1: execution error: ").arg(script.size())) &&
                         err.endsWith(error + u'\n'),
                     qPrintable(err));
        }
    }

    // Both pipes must be drained while the command runs, or it blocks on a full one.
    void chattyCommandDoesNotStall()
    {
        QElapsedTimer timer;
        timer.start();
        const Result result = osascript(
            QStringLiteral("do shell script \"head -c 5000000 /dev/zero | tr '\\\\0' e >&2; "
                           "head -c 5000000 /dev/zero | tr '\\\\0' o; exit 4\""));
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.out, QByteArray());
        QVERIFY(result.err.endsWith("eee (4)\n"));
        QCOMPARE(result.err.count('e'), 5'000'000 + 3); // and those of "execution error"
        QVERIFY(timer.elapsed() < 5'000);
    }

    void sudoAnswers_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QString>("logged");
        const QStringList printOk{"-S", "printf", "ok"};
        const QByteArray oneWrong = "Password:Sorry, try again.\nPassword:\nsudo: no password was "
                                    "provided\nsudo: 1 incorrect password attempt\n";

        QTest::newRow("right") << printOk << "tessaline\n"_ba << 0 << "ok"_ba
                               << "Password:"_ba
                               << "matched";
        QTest::newRow("right, input ends") << printOk << "tessaline"_ba << 0 << "ok"_ba
                                           << "Password:"_ba
                                           << "matched";
        QTest::newRow("without -S")
            << QStringList{"printf", "ok"} << "tessaline\n"_ba << 0 << "ok"_ba
            << "Password:"_ba
            << "matched";
        QTest::newRow("right at the second try")
            << printOk << "tessalin\ntessaline\n"_ba << 0 << "ok"_ba
            << "Password:Sorry, try again.\nPassword:"_ba
            << "matched";
        QTest::newRow("wrong") << printOk << "WRONG\n"_ba << 1 << QByteArray() << oneWrong
                               << "wrong";
        QTest::newRow("trailing blank")
            << printOk << "tessaline \n"_ba << 1 << QByteArray() << oneWrong << "wrong";
        QTest::newRow("three wrong") << printOk << "a\nb\nc\ntessaline\n"_ba << 1 << QByteArray()
                                     << "Password:Sorry, try again.\nPassword:Sorry, try again.\n"
                                        "Password:sudo: 3 incorrect password attempts\n"_ba
                                     << "wrong";
        QTest::newRow("no input") << printOk << QByteArray() << 1 << QByteArray()
                                  << "Password:\nsudo: no password was provided\n"_ba
                                  << "none";
        QTest::newRow("command keeps the rest of input")
            << QStringList{"-S", "cat"} << "tessaline\nrest\n"_ba << 0 << "rest\n"_ba
            << "Password:"_ba
            << "matched";
        QTest::newRow("command's status") << QStringList{"-S", "sh", "-c", "exit 7"}
                                          << "tessaline\n"_ba << 7 << QByteArray() << "Password:"_ba
                                          << "matched";
        QTest::newRow("command not found")
            << QStringList{"-S", "no-such-tool"} << "tessaline\n"_ba << 1 << QByteArray()
            << "Password:sudo: no-such-tool: command not found\n"_ba
            << "matched";
    }

    void sudoAnswers()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(QString, logged);
        const Result result = run(tool("sudo"), args, input);
        QCOMPARE(result.err, err);
        QCOMPARE(result.out, out);
        QCOMPARE(result.exitCode, exitCode);

        args.removeAll(QStringLiteral("-S"));
        const QJsonObject entry = lastLogEntry();
        QCOMPARE(entry.value("argv").toArray(), QJsonArray::fromStringList(args));
        QCOMPARE(entry.value("password").toString(), logged);
    }

    void sudoWithoutCommand()
    {
        const Result result = run(tool("sudo"), {"-S"}, "tessaline\n");
        QVERIFY(result.err.startsWith("usage: sudo -h | -K | -k | -V\n"));
        QCOMPARE(result.exitCode, 1);
    }

    void hostilePasswords_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("double quote") << "pa\"ss";
        QTest::newRow("command substitution") << "$(touch x)";
        QTest::newRow("backquotes") << "`touch x`";
        QTest::newRow("backslash") << "a\\b";
        QTest::newRow("single quote") << "'";
        QTest::newRow("blanks and non-ASCII") << "ünï cødé";
    }

    void hostilePasswords()
    {
        QFETCH(QString, password);
        setAdmin(password, QStringLiteral("grant"));
        const Result right = run(tool("sudo"), {"-S", "printf", "ok"}, password.toUtf8() + '\n');
        QCOMPARE(right.err, "Password:"_ba);
        QCOMPARE(right.out, "ok"_ba);
        const Result wrong = run(tool("sudo"), {"-S", "printf", "ok"}, password.toUtf8() + "x\n");
        QCOMPARE(wrong.exitCode, 1);
        QVERIFY(!wrong.err.contains(password.toUtf8()));
        QVERIFY(!readFile(sudoLog()).contains(password.toUtf8()));
        QVERIFY(!QFileInfo::exists(m_temporary.filePath(QStringLiteral("x"))));
    }

    // The terminal path's shape: the password piped into a sudo that runs sudo again, both found
    // along PATH in the environment the application gives its scripts.
    void sudoInsideSudo()
    {
        QProcessEnvironment environment = this->environment();
        environment.insert(QStringLiteral("TESSALINE_HOST_ROOT"), m_root);
        environment.insert(QStringLiteral("PATH"), m_root + QStringLiteral("/usr/bin:") +
                                                       environment.value(QStringLiteral("PATH")));
        const Result result =
            run(QStringLiteral("/bin/bash"), {"-c", "echo \"tessaline\" | sudo -S sudo printf ok"},
                {}, environment);
        QCOMPARE(result.err, "Password:"_ba);
        QCOMPARE(result.out, "ok"_ba);
        QCOMPARE(result.exitCode, 0);
    }
};

QTEST_GUILESS_MAIN(TestStandinOsascriptSudo)
#include "tst_standin_osascript_sudo.moc"
