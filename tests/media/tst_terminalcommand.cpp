#include "hardening/Leftovers.h"
#include "media/USBCreator.h"
#include "model/Timing.h"
#include "support/CapturedOutput.h"
#include "support/FilesHolding.h"
#include "support/StandInWorld.h"
#include "support/TestSecret.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <cstdio>

using namespace std::chrono_literals;

namespace {

// Set in the copy of this program that runs a terminal command on its own and is ended by the
// test (see main()): the stand-in root, then the password.
constexpr char childRootVariable[] = "TERMINAL_CHILD_ROOT";
constexpr char childPasswordVariable[] = "TERMINAL_CHILD_PASSWORD";

// Everything one run reported, in order, and whether each call came on the main thread. Shared
// with the handlers, so a test that gives up early leaves them nothing dangling.
struct Run {
    QStringList output;
    QStringList errors;
    QList<qint32> completions;
    QStringList order;
    bool allOnMainThread = true;

    void note(const char *event)
    {
        order << event;
        allOnMainThread &= QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    QString text() const { return output.join(QString()); }
    QString errorText() const { return errors.join(QString()); }
    bool ended(int count = 1) const
    {
        return QTest::qWaitFor([&] { return completions.size() >= count; }, 10000);
    }
};

std::shared_ptr<Run> start(const QStringList &command, const QString &password = "tessaline")
{
    auto run = std::make_shared<Run>();
    USBCreator::executeTerminalCommand(
        command, secretOf(password),
        [run](const QString &text) { run->note("out"), run->output << text; },
        [run](const QString &text) { run->note("err"), run->errors << text; },
        [run](qint32 status) { run->note("done"), run->completions << status; });
    return run;
}

QStringList shell(const QString &script)
{
    return {"/bin/bash", "-c", script};
}

void setAdminPassword(const StandInWorld &world, const QString &password)
{
    QFile admin(world.path("var/standin/admin.json"));
    QVERIFY(admin.open(QIODevice::WriteOnly | QIODevice::Truncate));
    admin.write(QJsonDocument(QJsonObject{{"password", password}, {"prompt", "grant"}}).toJson());
}

QJsonObject lastSudoCall(const StandInWorld &world)
{
    QFile log(world.path("var/standin/sudo.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    return QJsonDocument::fromJson(lines.last()).object();
}

} // namespace

class TerminalCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StandInWorld> m_world;
    QStringList tmpEntries() const { return Leftovers::entries(m_world->path("tmp")); }

private slots:
    void initTestCase() { Leftovers::markProcessTree(); }
    void init()
    {
        Timing::setCurrent(Timing());
        m_world = std::make_unique<StandInWorld>();
        QVERIFY(m_world->isValid());
    }
    void cleanup()
    {
        m_world.reset();
        Timing::setCurrent(Timing());
        for (const QString &process : Leftovers::processes())
            ::kill(process.section(u':', 0, 0).toInt(), SIGKILL);
    }

    void outputIsStreamedInChunksAndCompletionComesLast()
    {
        CapturedOutput diagnostics;
        const auto run = start(shell("echo one; sleep 0.3; echo two >&2; sleep 0.3; echo three"));
        QVERIFY(run->ended());
        const QString printed = diagnostics.text();
        QCOMPARE(run->completions, QList<qint32>{0});
        QVERIFY(run->order.last() == "done" && run->allOnMainThread);
        // Each burst arrives as it was written, not gathered up or cut into lines.
        QCOMPARE(run->output, (QStringList{"one\n", "three\n"}));
        // sudo's own prompt comes first on standard error.
        QCOMPARE(run->errorText(), "Password:two\n");
        QVERIFY(printed.contains("Executing terminal command: sudo /bin/bash -c 'echo one;"));
        // The password stays between this program and sudo.
        QVERIFY(!printed.contains("tessaline"));
        QVERIFY(!run->text().contains("tessaline") && !run->errorText().contains("tessaline"));
        const QJsonObject sudo = lastSudoCall(*m_world);
        QCOMPARE(sudo["password"].toString(), "matched");
        QVERIFY(!QJsonDocument(sudo).toJson().contains("tessaline"));
        QCOMPARE(tmpEntries(), QStringList());
    }

    // Nothing is lost in a flood, and a character split between chunks arrives whole.
    void outputArrivesWhole_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("expected");
        QStringList numbers;
        for (int number = 1; number <= 200000; ++number)
            numbers << QString::number(number);
        QTest::newRow("large") << QStringList{"seq", "1", "200000"} << numbers.join(u'\n') + u'\n';
        QTest::newRow("split character")
            << shell("printf '\\303' && sleep 0.3 && printf '\\251 done\\n'") << "\u00e9 done\n";
    }
    void outputArrivesWhole()
    {
        QFETCH(QStringList, command);
        CapturedOutput quiet;
        const auto run = start(command);
        QVERIFY(run->ended());
        QCOMPARE(run->completions.first(), 0);
        QTEST(run->text(), "expected");
        QVERIFY(!run->output.contains(QString()));
    }

    // The whole password reaches sudo byte for byte and nothing interprets it on the way; sudo
    // takes one line, so a password with a line break is refused, as a wrong one is.
    void passwordReachesSudoUnchanged_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        const auto row = [](const char *tag, const QString &password, bool accepted = true) {
            QTest::newRow(tag) << password << accepted;
        };
        row("ordinary", "tessaline");
        row("double quote", "pa\"ss");
        row("single quote", "it's");
        row("command substitution", "$(touch CANARY)");
        row("backquotes", "`touch CANARY`");
        row("variable", "$HOME${PATH}");
        row("backslash", "a\\b\\n");
        row("non-ASCII", "\u00fcn\u00ef c\u00f8d\u00e9 \u4e01\"");
        row("echo option", "-n");
        row("spaces", "  two  spaces  ");
        row("percent and glob", "%s*?[a]");
        row("wrong", "wrong", false);
        row("trailing space", "tessaline ", false);
        row("line break", "tessa\nline", false);
    }
    void passwordReachesSudoUnchanged()
    {
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        const QString canary = m_world->path("CANARY");
        password.replace("CANARY", canary);
        if (accepted)
            setAdminPassword(*m_world, password);
        const auto run = start({"true"}, password);
        QVERIFY(run->ended());
        QVERIFY(!QFileInfo::exists(canary));
        const QJsonObject sudo = lastSudoCall(*m_world);
        QCOMPARE(sudo["attempts"].toInt(), password.count(u'\n') + 1);
        if (password.contains(u'\n')) {
            QCOMPARE(run->completions.first(), 1);
            QVERIFY(run->errorText().endsWith("sudo: 2 incorrect password attempts\n"));
            return;
        }
        if (!accepted) {
            // The one line written is used up: sudo asks again, finds the pipe closed, and ends.
            QCOMPARE(run->completions.first(), 1);
            QCOMPARE(run->errorText(), "Password:Sorry, try again.\nPassword:\nsudo: no password "
                                       "was provided\nsudo: 1 incorrect password attempt\n");
            QCOMPARE(sudo["password"].toString(), "wrong");
            return;
        }
        QVERIFY2(run->completions.first() == 0, qPrintable(run->errorText()));
        QCOMPARE(sudo["password"].toString(), "matched");
    }

    // What the session holds reaches neither sudo nor the tool: a BASH_ENV script that would
    // run first in any bash, and a PATH whose first folder has a sudo of its own. The stand-in's
    // sudo, by its absolute path, is the one that gets the password.
    void sessionEnvironmentReachesNothing()
    {
        const QString record = m_world->path("seen");
        m_world->replaceTool("hostile/bash_env", "echo \"BASH_ENV ran: $0 $*\" >> '" +
                                                     record.toUtf8() + "'; cat >> '" +
                                                     record.toUtf8() + "'");
        m_world->replaceTool("hostile/sudo", "echo \"fake sudo: $*\" >> '" + record.toUtf8() +
                                                 "'; cat >> '" + record.toUtf8() + "'");
        const QByteArray path = qgetenv("PATH");
        qputenv("BASH_ENV", QFile::encodeName(m_world->path("hostile/bash_env")));
        qputenv("PATH", QFile::encodeName(m_world->path("hostile")) + ':' + path);
        qputenv("LD_LIBRARY_PATH", "/nowhere");
        Host::setCurrent(Host::standIn(m_world->root()));
        qputenv("PATH", path);
        qunsetenv("BASH_ENV");
        qunsetenv("LD_LIBRARY_PATH");

        const QString password = "unique-8c1f-password";
        setAdminPassword(*m_world, password);
        const auto run = start(shell("env | sort"), password);
        QVERIFY(run->ended());
        QVERIFY2(run->completions.first() == 0, qPrintable(run->errorText()));
        QVERIFY2(!QFileInfo::exists(record), Leftovers::readFile(record).constData());
        QStringList seen = run->text().split(u'\n', Qt::SkipEmptyParts);
        // The stand-in's own variables stand for what a Mac keeps outside the environment.
        seen.removeIf([](const QString &line) { return line.startsWith("TESSALINE_"); });
        const QString root = m_world->root();
        QCOMPARE(seen, (QStringList{"LC_ALL=C",
                                    QString("PATH=%1/usr/bin:%1/bin:%1/usr/sbin:%1/sbin:/usr/bin:"
                                            "/bin:/usr/sbin:/sbin")
                                        .arg(root),
                                    "PWD=" + QDir::currentPath(), "SHLVL=1",
                                    "_=" + root + "/usr/bin/env"}));
        const QJsonObject sudo = lastSudoCall(*m_world);
        QCOMPARE(sudo["password"].toString(), "matched");
        QCOMPARE(sudo["argv"].toVariant().toStringList().mid(0, 4),
                 (QStringList{root + "/usr/bin/env", "-i", seen[1], "LC_ALL=C"}));
    }

    // Neither while the command runs, nor after it ended normally, nor after this program was
    // killed or crashed in the middle, is the password anywhere in the world or in /tmp.
    void passwordNeverReachesTheDisk_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("normal end") << 0;
        QTest::newRow("terminated") << int(SIGTERM);
        QTest::newRow("crashed") << int(SIGKILL);
    }
    void passwordNeverReachesTheDisk()
    {
        QFETCH(int, signal);
        const QString password = "unique-" + QUuid::createUuid().toString(QUuid::Id128);
        setAdminPassword(*m_world, password);
        // The world's root lies below the temporary folder, where it is searched.
        const QStringList folders{"/tmp", QDir::tempPath()};
        // The stand-in Mac's own record of the password, as a real Mac keeps it, is not a leak.
        const QString record = m_world->path("var/standin/admin.json");
        const auto leaks = [&] {
            QStringList found = filesHolding(password.toUtf8(), folders);
            found.removeAll(record);
            found.removeDuplicates();
            return found;
        };
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(childRootVariable, m_world->root());
        environment.insert(childPasswordVariable, password);
        child.setProcessEnvironment(environment);
        // What goes wrong in the child is shown with this test's output.
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath());
        // Kept, since the macro asks again after the answer it waited for.
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += child.readAllStandardOutput()).contains("running\n"),
                                 10000);
        QCOMPARE(leaks(), QStringList());
        if (signal != 0)
            ::kill(pid_t(child.processId()), signal);
        QVERIFY(child.waitForFinished(10000));
        if (signal == 0)
            QCOMPARE(child.exitCode(), 0);
        QCOMPARE(lastSudoCall(*m_world)["password"].toString(), "matched");
        QCOMPARE(leaks(), QStringList());
        QCOMPARE(tmpEntries(), QStringList());
    }

    void timeOutReportsThenTheCommandsOwnEnd()
    {
        Timing timing;
        timing.terminalCommandLimit = 300ms;
        timing.terminationGrace = 2s;
        Timing::setCurrent(timing);
        QElapsedTimer clock;
        clock.start();
        const auto run = start({"sleep", "3"});
        QVERIFY(run->ended(2));
        QVERIFY(clock.elapsed() < 2500);
        QCOMPARE(run->completions, (QList<qint32>{-15, 15}));
        QCOMPARE(run->errors.last(), "Process timeout exceeded (2 hours)");
        QCOMPARE(run->order.mid(run->order.size() - 3), (QStringList{"err", "done", "done"}));
        QVERIFY(run->allOnMainThread);
        QTRY_COMPARE(Leftovers::processes(), QStringList());
        QTest::qWait(100);
        QCOMPARE(run->completions.size(), 2);
    }

    // Directories pass for executables by their mode, but cannot be run; no pipe holds more
    // than a few kilobytes unread.
    void failedStartReportsWhy_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("reason");
        QTest::newRow("sudo cannot run")
            << QString("usr/bin/sudo") << QString("tessaline") << QString("execve: ");
        QTest::newRow("password overflows the pipe")
            << QString() << QString(1 << 20, u'x') << "write: ";
    }
    void failedStartReportsWhy()
    {
        QFETCH(QString, broken);
        QFETCH(QString, password);
        if (!broken.isEmpty()) {
            m_world->removeTool(broken);
            QVERIFY(QDir().mkpath(m_world->path(broken)));
        }
        const auto run = start({"echo", "never"}, password);
        QVERIFY(run->ended());
        QCOMPARE(run->completions.first(), -1);
        QCOMPARE(run->errors.size(), 1);
        QFETCH(QString, reason);
        QVERIFY2(run->errors.first().startsWith("Failed to execute command: " + reason),
                 qPrintable(run->errors.first()));
        QVERIFY(run->output.isEmpty());
        QCOMPARE(run->order, (QStringList{"err", "done"}));
        QVERIFY(!QFileInfo::exists(m_world->path("var/standin/sudo.log")));
    }
};

// The copy of this program that a test ends: runs a command through the terminal path, says so
// once the command is running, and quits when it has ended.
int runTerminalChild(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qputenv("TESSALINE_STANDIN_SPEED", "0");
    Host::setCurrent(Host::standIn(qEnvironmentVariable(childRootVariable)));
    USBCreator::executeTerminalCommand(
        {"/bin/bash", "-c", "echo running; sleep 1"},
        secretOf(qEnvironmentVariable(childPasswordVariable)),
        [](const QString &text) {
            std::fputs(text.toUtf8().constData(), stdout);
            std::fflush(stdout);
        },
        [](const QString &) {}, [](qint32 status) { QCoreApplication::exit(status); });
    return app.exec();
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet(childRootVariable))
        return runTerminalChild(argc, argv);
    QCoreApplication app(argc, argv);
    TerminalCommandTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_terminalcommand.moc"
