#include "media/USBCreator.h"
#include "model/Timing.h"
#include "support/CapturedOutput.h"
#include "support/StandInWorld.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QtTest>

#include <sys/stat.h>

using namespace std::chrono_literals;

namespace {

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

std::shared_ptr<Run> start(const QString &command, const QString &password = "tessaline")
{
    auto run = std::make_shared<Run>();
    USBCreator::executeTerminalCommand(
        command, password, [run](const QString &text) { run->note("out"), run->output << text; },
        [run](const QString &text) { run->note("err"), run->errors << text; },
        [run](qint32 status) { run->note("done"), run->completions << status; });
    return run;
}

} // namespace

class TerminalCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StandInWorld> m_world;
    QStringList tmpEntries(const QString &pattern = "*") const
    {
        return QDir(m_world->path("tmp"))
            .entryList({pattern}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QStringList leftScripts() const { return tmpEntries("createinstallmedia_script_*.sh"); }

private slots:
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
    }

    void outputIsStreamedInChunksAndCompletionComesLast()
    {
        CapturedOutput diagnostics;
        const auto run = start("sh -c 'echo one; sleep 0.3; echo two >&2; sleep 0.3; echo three'");
        QVERIFY(run->ended());
        const QString printed = diagnostics.text();
        QCOMPARE(run->completions, QList<qint32>{0});
        QVERIFY(run->order.last() == "done" && run->allOnMainThread);
        // Each burst arrives as it was written, not gathered up or cut into lines.
        QCOMPARE(run->output, (QStringList{"one\n", "three\n"}));
        QVERIFY(run->errorText().contains("two\n"));
        QVERIFY(leftScripts().isEmpty());
        // The password stays between the script and sudo.
        QVERIFY(!printed.contains("tessaline"));
        QVERIFY(!run->text().contains("tessaline") && !run->errorText().contains("tessaline"));
        QFile log(m_world->path("var/standin/sudo.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray logged = log.readAll();
        QVERIFY(logged.contains("echo one") && !logged.contains("tessaline"));
    }

    // Nothing is lost in a flood, and a character split between chunks arrives whole.
    void outputArrivesWhole_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("expected");
        QStringList numbers;
        for (int number = 1; number <= 200000; ++number)
            numbers << QString::number(number);
        QTest::newRow("large") << "seq 1 200000" << numbers.join(u'\n') + u'\n';
        QTest::newRow("split character") << "printf '\\303' && sleep 0.3 && printf '\\251 done\\n'"
                                         << "\u00e9 done\n";
    }
    void outputArrivesWhole()
    {
        QFETCH(QString, command);
        CapturedOutput quiet;
        const auto run = start(command);
        QVERIFY(run->ended());
        QCOMPARE(run->completions.first(), 0);
        QTEST(run->text(), "expected");
        QVERIFY(!run->output.contains(QString()));
    }

    // The whole password reaches sudo (the script reads itself back through "$0") and runs
    // nothing on the way; the feed line is pinned where it is plain. The stand-in's password is
    // "tessaline", and only the first line of a feed reaches sudo's prompt.
    void passwordReachesSudoUnchanged_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("feed");
        const auto row = [](const char *tag, const QString &password, const QString &feed = {},
                            bool accepted = true) {
            QTest::newRow(tag) << password << accepted << feed;
        };
        row("ordinary", "tessaline", "echo \"tessaline\"");
        row("every plain character", "aZ09/._-+:,=@%", "echo \"aZ09/._-+:,=@%\"");
        row("double quote", "pa\"ss", "printf '%s\\n' 'pa\"ss'");
        row("single quote", "it's", "printf '%s\\n' 'it'\\''s'");
        row("command substitution", "$(touch CANARY)");
        row("backquotes", "`touch CANARY`");
        row("variable", "$HOME${PATH}");
        row("backslash", "a\\b\\n");
        row("non-ASCII", "\u00fcn\u00ef c\u00f8d\u00e9");
        // echo would take these for options and print nothing.
        row("echo option", "-n", "printf '%s\\n' -n");
        row("echo options", "-neE", "printf '%s\\n' -neE");
        row("spaces", "  two  spaces  ");
        row("percent and glob", "%s*?[a]");
        row("wrong", "wrong", {}, false);
        row("trailing space", "tessaline ", {}, false);
        row("line break", "tessa\nline", {}, false);
    }
    void passwordReachesSudoUnchanged()
    {
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        QFETCH(QString, feed);
        const QString canary = m_world->path("CANARY");
        password.replace("CANARY", canary);
        if (accepted) {
            QFile admin(m_world->path("var/standin/admin.json"));
            QVERIFY(admin.open(QIODevice::WriteOnly | QIODevice::Truncate));
            admin.write(
                QJsonDocument(QJsonObject{{"password", password}, {"prompt", "grant"}}).toJson());
        }
        const QString command = "true && cat \"$0\"";
        const auto run = start(command, password);
        QVERIFY(run->ended());
        QVERIFY(!QFileInfo::exists(canary) && leftScripts().isEmpty());
        if (!accepted) {
            QVERIFY(run->completions.first() == 1 && run->output.isEmpty());
            QVERIFY2(run->errorText().contains("Sorry, try again."), qPrintable(run->errorText()));
            QVERIFY(run->errorText().contains(" incorrect password attempt"));
            return;
        }
        QVERIFY2(run->completions.first() == 0, qPrintable(run->errorText()));
        if (feed.isEmpty())
            QVERIFY2(run->text().startsWith("#!/bin/bash\nprintf '%s\\n' '"),
                     qPrintable(run->text()));
        else
            QCOMPARE(run->text(), "#!/bin/bash\n" + feed + " | sudo -S " + command);
    }

    void scriptIsOwnerOnlyWhileRunningAndGoneAfter()
    {
        const auto run = start("sleep 1.5");
        QTRY_COMPARE_WITH_TIMEOUT(leftScripts().size(), 1, 5000);
        const QString name = leftScripts().first();
        QVERIFY(QRegularExpression("^createinstallmedia_script_[0-9A-F]{8}(-[0-9A-F]{4}){3}-"
                                   "[0-9A-F]{12}\\.sh$")
                    .match(name)
                    .hasMatch());
        const QString path = m_world->path("tmp/" + name);
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0677, 0600u); // the owner alone may read and write it
        QFile script(path);
        QVERIFY(script.open(QIODevice::ReadOnly));
        QCOMPARE(script.readAll(),
                 QByteArray("#!/bin/bash\necho \"tessaline\" | sudo -S sleep 1.5"));
        QVERIFY(run->ended());
        QCOMPARE(run->completions.first(), 0);
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
        // Only the shell is ours to end: the command sudo started outlives it, so it is kept
        // short enough to go away on its own.
        const auto run = start("sleep 3");
        QTRY_VERIFY_WITH_TIMEOUT(!leftScripts().isEmpty(), 5000);
        const QString script = leftScripts().first();
        QVERIFY(run->ended(2));
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(run->completions, (QList<qint32>{-15, 15}));
        QCOMPARE(run->errors.last(), "Process timeout exceeded (2 hours)");
        QCOMPARE(run->order.mid(run->order.size() - 3), (QStringList{"err", "done", "done"}));
        QVERIFY(run->allOnMainThread && leftScripts().isEmpty());
        QCOMPARE(QProcess::execute("pgrep", {"-f", script}), 1);
        QTest::qWait(100);
        QCOMPARE(run->completions.size(), 2);
    }

    // Directories pass for executables by their mode, but cannot be run.
    void failedStartLeavesNothingBehind_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::newRow("no temporary folder") << "tmp";
        QTest::newRow("chmod cannot run") << "bin/chmod";
        QTest::newRow("bash cannot run") << "bin/bash";
    }
    void failedStartLeavesNothingBehind()
    {
        QFETCH(QString, broken);
        if (broken == "tmp") {
            QVERIFY(QDir(m_world->path(broken)).removeRecursively());
            QFile blocker(m_world->path(broken));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(m_world->path(broken)));
        }
        const auto run = start("echo never");
        QVERIFY(run->ended());
        QCOMPARE(run->completions.first(), -1);
        QCOMPARE(run->errors.size(), 1);
        QVERIFY2(run->errors.first().startsWith("Failed to execute command: "),
                 qPrintable(run->errors.first()));
        QVERIFY(run->output.isEmpty());
        QCOMPARE(run->order, (QStringList{"err", "done"}));
        if (broken != "tmp")
            QCOMPARE(tmpEntries(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TerminalCommandTest)
#include "tst_terminalcommand.moc"
