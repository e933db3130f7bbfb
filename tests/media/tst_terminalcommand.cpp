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

const QString scriptPattern = QStringLiteral("createinstallmedia_script_*.sh");

// Everything one run reported, in order, and whether each call came on the main thread. Shared
// with the handlers, so a test that gives up early leaves them nothing dangling.
struct Run {
    QStringList output;
    QStringList errors;
    QList<qint32> completions;
    QStringList order;
    bool allOnMainThread = true;

    void note(const QString &event)
    {
        order << event;
        allOnMainThread =
            allOnMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    }
};

std::shared_ptr<Run> start(const QString &command, const QString &password)
{
    auto run = std::make_shared<Run>();
    USBCreator::executeTerminalCommand(
        command, password,
        [run](const QString &text) {
            run->note(QStringLiteral("out"));
            run->output << text;
        },
        [run](const QString &text) {
            run->note(QStringLiteral("err"));
            run->errors << text;
        },
        [run](qint32 status) {
            run->note(QStringLiteral("done"));
            run->completions << status;
        });
    return run;
}

void setAdminPassword(const StandInWorld &world, const QString &password)
{
    QFile file(world.path(QStringLiteral("var/standin/admin.json")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const QJsonObject admin{{QStringLiteral("password"), password},
                            {QStringLiteral("prompt"), QStringLiteral("grant")}};
    file.write(QJsonDocument(admin).toJson());
}

QStringList leftScripts(const StandInWorld &world)
{
    return QDir(world.path(QStringLiteral("tmp"))).entryList({scriptPattern}, QDir::Files);
}

bool anyProcessMatches(const QString &pattern)
{
    QProcess pgrep;
    pgrep.start(QStringLiteral("pgrep"), {QStringLiteral("-f"), pattern});
    pgrep.waitForFinished();
    return pgrep.exitCode() == 0;
}

} // namespace

class TerminalCommandTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Timing::setCurrent(Timing()); }
    void cleanup() { Timing::setCurrent(Timing()); }

    void outputIsStreamedInChunksAndCompletionComesLast()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        CapturedOutput diagnostics;
        const auto run = start(
            QStringLiteral("sh -c 'echo one; sleep 0.3; echo two >&2; sleep 0.3; echo three'"),
            QStringLiteral("tessaline"));
        QTRY_COMPARE_WITH_TIMEOUT(run->completions.size(), 1, 10000);
        const QString printed = diagnostics.text();

        QCOMPARE(run->completions, QList<qint32>{0});
        QCOMPARE(run->order.last(), QStringLiteral("done"));
        QVERIFY(run->allOnMainThread);
        // Each burst arrives as it was written, not gathered up or cut into lines.
        QCOMPARE(run->output, (QStringList{QStringLiteral("one\n"), QStringLiteral("three\n")}));
        QVERIFY(run->errors.join(QString()).contains(QStringLiteral("two\n")));
        QVERIFY(leftScripts(world).isEmpty());

        // The password stays between the script and sudo.
        QVERIFY(!printed.contains(QStringLiteral("tessaline")));
        QVERIFY(!run->output.join(QString()).contains(QStringLiteral("tessaline")));
        QVERIFY(!run->errors.join(QString()).contains(QStringLiteral("tessaline")));
        QFile log(world.path(QStringLiteral("var/standin/sudo.log")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray logged = log.readAll();
        QVERIFY(logged.contains("echo one"));
        QVERIFY(!logged.contains("tessaline"));
    }

    void largeOutputArrivesWhole()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        CapturedOutput quiet;
        const auto run = start(QStringLiteral("seq 1 200000"), QStringLiteral("tessaline"));
        QTRY_COMPARE_WITH_TIMEOUT(run->completions.size(), 1, 10000);
        QCOMPARE(run->completions.first(), 0);
        QStringList expected;
        for (int number = 1; number <= 200000; ++number)
            expected << QString::number(number);
        QCOMPARE(run->output.join(QString()), expected.join(u'\n') + u'\n');
    }

    void characterSplitBetweenChunksArrivesIntact()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        const auto run =
            start(QStringLiteral("printf '\\303' && sleep 0.3 && printf '\\251 done\\n'"),
                  QStringLiteral("tessaline"));
        QTRY_COMPARE_WITH_TIMEOUT(run->completions.size(), 1, 10000);
        QCOMPARE(run->completions.first(), 0);
        QCOMPARE(run->output.join(QString()), QStringLiteral("\u00e9 done\n"));
        QVERIFY(!run->output.contains(QString()));
    }

    void wrongPasswordIsRefusedBySudo_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("wrong") << "wrong";
        QTest::newRow("trailing space") << "tessaline ";
        // Only the first line reaches sudo's prompt.
        QTest::newRow("line break") << "tessa\nline";
    }
    void wrongPasswordIsRefusedBySudo()
    {
        QFETCH(QString, password);
        StandInWorld world;
        QVERIFY(world.isValid());
        const auto run = start(QStringLiteral("echo granted"), password);
        QTRY_COMPARE_WITH_TIMEOUT(run->completions.size(), 1, 10000);
        QCOMPARE(run->completions.first(), 1);
        QVERIFY(run->output.isEmpty());
        const QString errors = run->errors.join(QString());
        QVERIFY2(errors.contains(QStringLiteral("Sorry, try again.")), qPrintable(errors));
        QVERIFY(errors.contains(QStringLiteral(" incorrect password attempt")));
        QVERIFY(leftScripts(world).isEmpty());
    }

    void passwordReachesSudoUnchanged_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("feed");
        QTest::newRow("ordinary") << "tessaline"
                                  << "echo \"tessaline\"";
        QTest::newRow("every plain character") << "aZ09/._-+:,=@%"
                                               << "echo \"aZ09/._-+:,=@%\"";
        QTest::newRow("double quote") << "pa\"ss"
                                      << "printf '%s\\n' 'pa\"ss'";
        QTest::newRow("single quote") << "it's"
                                      << "printf '%s\\n' 'it'\\''s'";
        QTest::newRow("command substitution") << "$(touch CANARY)" << QString();
        QTest::newRow("backquotes") << "`touch CANARY`" << QString();
        QTest::newRow("variable") << "$HOME${PATH}" << QString();
        QTest::newRow("backslash") << "a\\b\\n" << QString();
        QTest::newRow("non-ASCII") << "\u00fcn\u00ef c\u00f8d\u00e9" << QString();
        // echo would take these for options and print nothing.
        QTest::newRow("echo option") << "-n"
                                     << "printf '%s\\n' -n";
        QTest::newRow("echo options") << "-neE"
                                      << "printf '%s\\n' -neE";
        QTest::newRow("spaces") << "  two  spaces  " << QString();
        QTest::newRow("percent and glob") << "%s*?[a]" << QString();
    }
    void passwordReachesSudoUnchanged()
    {
        QFETCH(QString, password);
        QFETCH(QString, feed);
        StandInWorld world;
        QVERIFY(world.isValid());
        const QString canary = world.path(QStringLiteral("CANARY"));
        password.replace(QStringLiteral("CANARY"), canary);
        setAdminPassword(world, password);

        // $0 is the script itself, so its exact text comes back as output once sudo agrees.
        const QString command = QStringLiteral("true && cat \"$0\"");
        const auto run = start(command, password);
        QTRY_COMPARE_WITH_TIMEOUT(run->completions.size(), 1, 10000);
        QVERIFY2(run->completions.first() == 0, qPrintable(run->errors.join(QString())));
        const QString script = run->output.join(QString());
        if (feed.isEmpty())
            QVERIFY2(script.startsWith(QStringLiteral("#!/bin/bash\nprintf '%s\\n' '")),
                     qPrintable(script));
        else
            QCOMPARE(script, QStringLiteral("#!/bin/bash\n") + feed +
                                 QStringLiteral(" | sudo -S ") + command);
        QVERIFY(!QFileInfo::exists(canary));
        QVERIFY(leftScripts(world).isEmpty());
    }

    void scriptIsOwnerOnlyWhileRunningAndGoneAfter()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        const auto run = start(QStringLiteral("sleep 1.5"), QStringLiteral("tessaline"));
        QTRY_COMPARE_WITH_TIMEOUT(leftScripts(world).size(), 1, 5000);
        const QString name = leftScripts(world).first();
        QVERIFY(QRegularExpression(
                    QStringLiteral("^createinstallmedia_script_[0-9A-F]{8}(-[0-9A-F]{4}){3}-"
                                   "[0-9A-F]{12}\\.sh$"))
                    .match(name)
                    .hasMatch());
        const QString path = world.path(QStringLiteral("tmp/") + name);
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0077, 0u);
        QCOMPARE(status.st_mode & 0600, 0600u);
        QFile script(path);
        QVERIFY(script.open(QIODevice::ReadOnly));
        QCOMPARE(script.readAll(),
                 QByteArray("#!/bin/bash\necho \"tessaline\" | sudo -S sleep 1.5"));

        QTRY_COMPARE_WITH_TIMEOUT(run->completions.size(), 1, 10000);
        QCOMPARE(run->completions.first(), 0);
        QCOMPARE(QDir(world.path(QStringLiteral("tmp")))
                     .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }

    void timeOutReportsThenTheCommandsOwnEnd()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        Timing timing;
        timing.terminalCommandLimit = 300ms;
        timing.terminationGrace = 2s;
        Timing::setCurrent(timing);

        QElapsedTimer clock;
        clock.start();
        // Only the shell is ours to end: the command sudo started outlives it, so it is kept
        // short enough to go away on its own.
        const auto run = start(QStringLiteral("sleep 3"), QStringLiteral("tessaline"));
        QTRY_VERIFY_WITH_TIMEOUT(!leftScripts(world).isEmpty(), 5000);
        const QString script = leftScripts(world).first();
        QTRY_COMPARE_WITH_TIMEOUT(run->completions.size(), 2, 10000);
        QVERIFY(clock.elapsed() < 5000);

        QCOMPARE(run->completions, (QList<qint32>{-15, 15}));
        QCOMPARE(run->errors.last(), QStringLiteral("Process timeout exceeded (2 hours)"));
        QCOMPARE(run->order.mid(run->order.size() - 3), (QStringList{"err", "done", "done"}));
        QVERIFY(run->allOnMainThread);
        QVERIFY(leftScripts(world).isEmpty());
        QVERIFY(!anyProcessMatches(script));
        QTest::qWait(100);
        QCOMPARE(run->completions.size(), 2);
    }

    void failedStartLeavesNothingBehind_data()
    {
        QTest::addColumn<QString>("broken");
        // Directories pass for executables by their mode, but cannot be run.
        QTest::newRow("no temporary folder") << "tmp";
        QTest::newRow("chmod cannot run") << "bin/chmod";
        QTest::newRow("bash cannot run") << "bin/bash";
    }
    void failedStartLeavesNothingBehind()
    {
        QFETCH(QString, broken);
        StandInWorld world;
        QVERIFY(world.isValid());
        const QString path = world.path(broken);
        if (broken == QLatin1String("tmp")) {
            QVERIFY(QDir(path).removeRecursively());
            QFile blocker(path);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(path));
        }

        const auto run = start(QStringLiteral("echo never"), QStringLiteral("tessaline"));
        QTRY_COMPARE_WITH_TIMEOUT(run->completions.size(), 1, 10000);
        QCOMPARE(run->completions.first(), -1);
        QCOMPARE(run->errors.size(), 1);
        QVERIFY2(run->errors.first().startsWith(QStringLiteral("Failed to execute command: ")),
                 qPrintable(run->errors.first()));
        QVERIFY(run->output.isEmpty());
        QCOMPARE(run->order, (QStringList{"err", "done"}));
        if (broken != QLatin1String("tmp"))
            QCOMPARE(QDir(world.path(QStringLiteral("tmp")))
                         .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                     QStringList());
    }
};

QTEST_GUILESS_MAIN(TerminalCommandTest)
#include "tst_terminalcommand.moc"
