// The built tessaline-cli against stand-in worlds, as a script or a person at a shell uses it:
// what each command prints, its exit status, and what it leaves of the world when it refuses,
// fails or is interrupted.
#include "hardening/Leftovers.h"
#include "support/StandInWorld.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <csignal>

namespace {

struct Outcome {
    int status = -1;
    QByteArray output;
    QByteArray error;
};

QString cliProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tessaline-cli");
}

void prepare(QProcess &cli, const StandInWorld &world, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TESSALINE_HOST_ROOT"), world.root());
    environment.insert(QStringLiteral("TESSALINE_STANDIN_SPEED"), QStringLiteral("0"));
    cli.setProcessEnvironment(environment);
    cli.setProgram(cliProgram());
    cli.setArguments(arguments);
}

Outcome run(const StandInWorld &world, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess cli;
    prepare(cli, world, arguments);
    cli.start();
    cli.write(input);
    cli.closeWriteChannel();
    if (!cli.waitForFinished(60000))
        cli.kill();
    cli.waitForFinished();
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
            cli.readAllStandardOutput(), cli.readAllStandardError()};
}

// Every line of `output` as a JSON object; empty when one is not.
QList<QJsonObject> jsonLines(const QByteArray &output)
{
    QList<QJsonObject> lines;
    for (const QByteArray &line : output.split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonDocument document = QJsonDocument::fromJson(line);
        if (!document.isObject())
            return {};
        lines << document.object();
    }
    return lines;
}

// What a job's JSON Lines must be: progress events whose percentage never goes down, then one
// result.
bool wellFormedRun(const QList<QJsonObject> &lines)
{
    if (lines.isEmpty() || lines.last().value("event") != "result")
        return false;
    int percent = 0;
    for (qsizetype index = 0; index + 1 < lines.size(); ++index) {
        const QJsonObject &line = lines.at(index);
        if (line.value("event") != "progress" || line.value("percent").toInt() < percent)
            return false;
        percent = line.value("percent").toInt();
    }
    return true;
}

// The world's volumes but for the installer's Shared Support volume, which every start of the
// state ejects, as the window's does.
QStringList volumes(const StandInWorld &world)
{
    QStringList names = Leftovers::entries(world.path("Volumes"));
    names.removeAll(QStringLiteral("Shared Support"));
    return names;
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Leftovers::markProcessTree(); }

    void listings()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        Outcome installers = run(world, {"list-installers", "--json"});
        QCOMPARE(installers.status, 0);
        const QJsonArray listed = QJsonDocument::fromJson(installers.output).array();
        QCOMPARE(listed.size(), 4);
        QCOMPARE(listed.first()["name"].toString(), "Install macOS Sequoia");
        QCOMPARE(listed.first()["build"].toString(), "24B83");
        QVERIFY(listed.first()["size"].toDouble() > 0);
        QCOMPARE(listed.first()["path"].toString(),
                 world.path("Applications/Install macOS Sequoia.app"));
        // Diagnostics never reach standard output.
        QVERIFY(!installers.output.contains("Disk loading"));

        Outcome disks = run(world, {"list-disks", "--json"});
        QCOMPARE(disks.status, 0);
        QStringList names;
        for (const QJsonValue &disk : QJsonDocument::fromJson(disks.output).array())
            names << disk["name"].toString() + '=' + disk["device"].toString();
        QCOMPARE(names, (QStringList{"UNTITLED=disk4s2", "SDCARD=disk6s1", "Backup=disk7s2"}));

        Outcome text = run(world, {"list-installers"});
        QCOMPARE(text.status, 0);
        QVERIFY(text.output.startsWith("NAME"));
        QVERIFY(text.output.contains("Install OS X El Capitan"));
    }

    // Whatever cannot be run is refused before anything runs, with the status for bad input and
    // a message that says what there is instead.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("no command") << QStringList() << "no command given";
        QTest::newRow("unknown command") << QStringList{"burn"} << "unknown command \"burn\"";
        QTest::newRow("unknown option")
            << QStringList{"list-disks", "--force"} << "list-disks does not take --force";
        QTest::newRow("volume missing")
            << QStringList{"create-usb", "--installer", "Install macOS Sonoma"}
            << "create-usb needs --volume";
        QTest::newRow("unknown installer")
            << QStringList{"create-usb", "--installer", "Install macOS Tahoe",
                           "--volume",   "UNTITLED",    "--yes"}
            << "no installer \"Install macOS Tahoe\". Installers found:\n  Install macOS Sequoia";
        QTest::newRow("unknown volume")
            << QStringList{"create-usb", "--installer", "Install macOS Sonoma",
                           "--volume",   "STICK",       "--yes"}
            << "no volume \"STICK\". Volumes that can be used:\n  UNTITLED (disk4s2";
        QTest::newRow("no --yes and no terminal")
            << QStringList{"create-usb", "--installer", "Install macOS Sonoma", "--volume",
                           "disk4s2"}
            << "pass --yes to erase without asking";
        QTest::newRow("no package")
            << QStringList{"install-package", "nothing.pkg"} << "no package \"nothing.pkg\"";
        QTest::newRow("no version")
            << QStringList{"download-installer"} << "download-installer needs --version";
        QTest::newRow("version not offered")
            << QStringList{"download-installer", "--version", "16.0"}
            << "Apple offers no installer of version \"16.0\". Versions offered:\n"
               "  macOS Sequoia 15.3.1";
        QTest::newRow("deferred") << QStringList{"download-installer", "--version", "12.7.4"}
                                  << "macOS Monterey 12.7.4 is deferred by your organisation";
        QTest::newRow("verify what") << QStringList{"verify", "--installer", "Install macOS Sonoma"}
                                     << "verify needs either --volume or --image";
        QTest::newRow("verify no image")
            << QStringList{"verify", "--installer", "Install macOS Sonoma", "--image", "no.iso"}
            << "no image \"no.iso\"";
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        StandInWorld world;
        QVERIFY(world.isValid());
        const QStringList before = volumes(world);
        const Outcome outcome = run(world, arguments);
        QCOMPARE(outcome.status, 2);
        QVERIFY2(outcome.error.contains(said.toUtf8()), outcome.error.right(400).constData());
        QCOMPARE(volumes(world), before);
        QVERIFY(QFileInfo::exists(world.path("Volumes/UNTITLED")));
        QCOMPARE(Leftovers::entries(world.path("tmp")), QStringList());
    }

    void withoutAStandInMac()
    {
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TESSALINE_HOST_ROOT"));
        cli.setProcessEnvironment(environment);
        cli.start(cliProgram(), {"list-installers"});
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 2);
        QVERIFY(cli.readAllStandardError().contains("set TESSALINE_HOST_ROOT"));
    }

    void isoWithJsonLines_data()
    {
        QTest::addColumn<QString>("output");
        QTest::newRow("on the desktop") << QString();
        QTest::newRow("into a folder") << "Downloads";
        QTest::newRow("as a file") << "Downloads/sequoia.iso";
    }

    void isoWithJsonLines()
    {
        QFETCH(QString, output);
        StandInWorld world;
        QVERIFY(world.isValid());
        QStringList arguments{"create-iso", "--installer", "Install macOS Sequoia", "--json"};
        if (!output.isEmpty())
            arguments << "--output" << world.path(output);
        const Outcome outcome = run(world, arguments);
        QCOMPARE(outcome.status, 0);
        const QList<QJsonObject> lines = jsonLines(outcome.output);
        QVERIFY2(wellFormedRun(lines), outcome.output.right(400).constData());
        QCOMPARE(lines.last()["ok"].toBool(), true);
        const QString expected = output.isEmpty() ? world.path("Desktop/Install macOS Sequoia.iso")
                                 : output.endsWith(".iso")
                                     ? world.path(output)
                                     : world.path(output + "/Install macOS Sequoia.iso");
        QCOMPARE(lines.last()["path"].toString(), expected);
        QVERIFY(QFileInfo(expected).isFile());
        QCOMPARE(lines.at(lines.size() - 2)["percent"].toInt(), 100);
        QCOMPARE(Leftovers::entries(world.path("Desktop")).isEmpty(), !output.isEmpty());
    }

    // What a job wrote is read back unless --no-verify says not to, and `verify` checks media
    // made before; the result says which, and a check that fails fails the run.
    void checkingMedia()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        const QStringList iso{"create-iso", "--installer", "Install macOS Sequoia", "--yes",
                              "--json"};
        Outcome outcome = run(world, iso + QStringList{"--no-verify"});
        QCOMPARE(outcome.status, 0);
        QList<QJsonObject> lines = jsonLines(outcome.output);
        QVERIFY2(wellFormedRun(lines), outcome.output.right(400).constData());
        QCOMPARE(lines.last()["verified"].toBool(true), false);
        QVERIFY(std::none_of(lines.begin(), lines.end(),
                             [](const QJsonObject &line) { return line["steps"].toInt() > 4; }));

        const QString image = world.path("Desktop/Install macOS Sequoia.iso");
        const QStringList verify{"verify", "--installer", "Install macOS Sequoia", "--json"};
        outcome = run(world, verify + QStringList{"--image", image});
        QCOMPARE(outcome.status, 0);
        lines = jsonLines(outcome.output);
        QVERIFY2(wellFormedRun(lines), outcome.output.right(400).constData());
        QCOMPARE(lines.last()["verified"].toBool(), true);

        world.writeState("createinstallmedia.json", {{"damage", "missing"}});
        outcome = run(world,
                      {"create-usb", "--installer", "Install macOS Sequoia", "--volume", "UNTITLED",
                       "--yes", "--no-verify", "--password-stdin", "--json"},
                      "tessaline\n");
        QCOMPARE(outcome.status, 0);
        outcome = run(world, verify + QStringList{"--volume", "Install macOS Sequoia"});
        QCOMPARE(outcome.status, 1);
        lines = jsonLines(outcome.output);
        QVERIFY2(wellFormedRun(lines), outcome.output.right(400).constData());
        QCOMPARE(lines.last()["verified"].toBool(true), false);
        QVERIFY2(lines.last()["detail"].toString().contains("Contents/PkgInfo: missing"),
                 outcome.output.right(400).constData());

        // Checked as it is made, a bad ISO fails the run and goes.
        world.writeState("createinstallmedia.json", {{"damage", "payload"}});
        outcome = run(world, iso);
        QCOMPARE(outcome.status, 1);
        lines = jsonLines(outcome.output);
        QCOMPARE(lines.last()["verified"].toBool(true), false);
        QVERIFY(!QFileInfo::exists(image));
        QCOMPARE(Leftovers::entries(world.path("tmp")), QStringList());
    }

    // The terminal path takes its password from the first line of standard input and never
    // shows it; a wrong one ends the run before anything was erased.
    void usbWithThePassword_data()
    {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<int>("status");
        QTest::newRow("right") << QByteArray("tessaline\n") << 0;
        QTest::newRow("wrong") << QByteArray("not-it\n") << 1;
    }

    void usbWithThePassword()
    {
        QFETCH(QByteArray, password);
        QFETCH(int, status);
        StandInWorld world;
        QVERIFY(world.isValid());
        world.writeState("protection.json", {{"status", "enabled"}});
        const Outcome outcome = run(world,
                                    {"create-usb", "--installer", "Install macOS Sonoma",
                                     "--volume", "UNTITLED", "--yes", "--password-stdin", "--json"},
                                    password);
        QCOMPARE(outcome.status, status);
        const QList<QJsonObject> lines = jsonLines(outcome.output);
        QVERIFY2(wellFormedRun(lines), outcome.output.right(400).constData());
        QCOMPARE(lines.last()["ok"].toBool(), status == 0);
        const QByteArray secret = password.trimmed();
        QVERIFY(!outcome.output.contains(secret) && !outcome.error.contains(secret));
        QCOMPARE(QFileInfo::exists(world.path("Volumes/UNTITLED")), status != 0);
        QCOMPARE(QFileInfo::exists(world.path("Volumes/Install macOS Sonoma")), status == 0);
        if (status != 0)
            QVERIFY(outcome.error.contains("password was not accepted"));
    }

    // An interrupt during a job cancels it as the window's Cancel does: the tool ends, nothing of
    // the run is left, and the program says so with status 130.
    void interruptDuringAJob_data()
    {
        QTest::addColumn<QString>("job");
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("times");
        QTest::newRow("usb, Ctrl-C") << "usb" << SIGINT << 1;
        QTest::newRow("usb, Ctrl-C twice") << "usb" << SIGINT << 2;
        QTest::newRow("iso, SIGTERM") << "iso" << SIGTERM << 1;
        QTest::newRow("iso, Ctrl-C twice") << "iso" << SIGINT << 2;
    }

    void interruptDuringAJob()
    {
        QFETCH(QString, job);
        QFETCH(int, signal);
        QFETCH(int, times);
        StandInWorld world;
        QVERIFY(world.isValid());
        world.writeState("protection.json", {{"status", "disabled"}});
        const QString pidFile = world.replaceWithHangingTool(
            "Applications/Install macOS Sequoia.app/Contents/Resources/createinstallmedia",
            "Ready to start.");
        QProcess cli;
        prepare(cli, world,
                job == "usb"
                    ? QStringList{"create-usb", "--installer", "Install macOS Sequoia", "--volume",
                                  "UNTITLED", "--yes", "--json"}
                    : QStringList{"create-iso", "--installer", "Install macOS Sequoia", "--json"});
        cli.start();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(pidFile), 20000);
        QElapsedTimer clock;
        clock.start();
        // Held once: a finished QProcess has no process id, and kill(0) signals this test's
        // own process group.
        const pid_t pid = pid_t(cli.processId());
        QVERIFY(pid > 0);
        // A second signal comes 50 ms after the first, while the run winds down if it still does
        // (the stand-in's tools end at once, so it often has not).
        for (int sent = 0; sent < times && cli.state() == QProcess::Running; ++sent) {
            if (sent > 0)
                QTest::qWait(50);
            ::kill(pid, signal);
        }
        // waitForFinished() is false for a process already seen to end.
        QVERIFY(cli.state() == QProcess::NotRunning || cli.waitForFinished(10000));
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(cli.exitCode(), 130);
        const QList<QJsonObject> lines = jsonLines(cli.readAllStandardOutput());
        QVERIFY(wellFormedRun(lines));
        QVERIFY2(lines.last()["detail"].toString().startsWith("Cancelled."),
                 qPrintable(lines.last()["detail"].toString()));
        QTRY_COMPARE_WITH_TIMEOUT(Leftovers::processes(), QStringList(), 3000);
        QCOMPARE(Leftovers::entries(world.path("tmp")), QStringList());
        QCOMPARE(Leftovers::entries(world.path("Desktop")), QStringList());
    }

    // What Apple offers, then one of them downloaded: its progress as it goes, and the new
    // bundle as the result's path, listed from then on.
    void availableAndDownloaded()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        const Outcome offered = run(world, {"available-installers", "--json"});
        QCOMPARE(offered.status, 0);
        const QJsonArray listed = QJsonDocument::fromJson(offered.output).array();
        QCOMPARE(listed.size(), 5);
        QCOMPARE(listed.first()["version"].toString(), "15.3.1");
        QCOMPARE(listed.first()["build"].toString(), "24D70");
        QCOMPARE(listed.first()["size"].toDouble(), 14891477.0 * 1024);
        QVERIFY(listed.first()["inApplications"].toBool());
        QCOMPARE(listed.last()["version"].toString(), "12.7.4");
        QVERIFY(listed.last()["deferred"].toBool());

        QProcess cli;
        prepare(cli, world, {"download-installer", "--version", "13.7.4", "--json"});
        QProcessEnvironment environment = cli.processEnvironment();
        environment.insert("TESSALINE_STANDIN_SPEED", "0.1");
        cli.setProcessEnvironment(environment);
        cli.start();
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        const QList<QJsonObject> lines = jsonLines(cli.readAllStandardOutput());
        QVERIFY(wellFormedRun(lines));
        QVERIFY(lines.last()["ok"].toBool());
        const QString bundle = world.path("Applications/Install macOS Ventura.app");
        QCOMPARE(lines.last()["path"].toString(), bundle);
        QVERIFY(std::any_of(lines.begin(), lines.end(), [](const QJsonObject &line) {
            return line["percent"].toInt() > 20 && line["percent"].toInt() < 80;
        }));
        const Outcome installers = run(world, {"list-installers"});
        QVERIFY(installers.output.contains(bundle.toUtf8()));

        const Outcome text = run(world, {"available-installers"});
        QVERIFY(text.output.startsWith("TITLE"));
        QVERIFY(text.output.contains("deferred by your organisation"));
    }

    // A download the tool fails is status 1 with the tool's words; one the Mac cannot list is
    // told of.
    void downloadFailures_data()
    {
        QTest::addColumn<QJsonObject>("catalogue");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("script") << QJsonObject{{"failure", "script"}}
                                << QStringList{"download-installer", "--version", "13.7.4"}
                                << "Install failed with error: An error occurred while running";
        QTest::newRow("no network")
            << QJsonObject{{"failure", "network"}} << QStringList{"available-installers"}
            << "Apple's list of installers could not be read: ";
        QTest::newRow("Catalina") << QJsonObject{{"macOS", "10.15.7"}}
                                  << QStringList{"available-installers"}
                                  << "cannot list the installers Apple offers";
    }
    void downloadFailures()
    {
        QFETCH(QJsonObject, catalogue);
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        StandInWorld world;
        QVERIFY(world.isValid());
        world.writeState("catalogue.json", catalogue);
        const Outcome outcome = run(world, arguments);
        QCOMPARE(outcome.status, 1);
        QVERIFY2((outcome.output + outcome.error).contains(said.toUtf8()),
                 (outcome.output + outcome.error).right(400).constData());
        QVERIFY(!QFileInfo::exists(world.path("Applications/Install macOS Ventura.app")));
    }

    // Interrupted mid-download: softwareupdate is ended and what it began in Applications goes.
    void interruptDuringADownload()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        QProcess cli;
        prepare(cli, world, {"download-installer", "--version", "13.7.4", "--json"});
        QProcessEnvironment environment = cli.processEnvironment();
        environment.insert("TESSALINE_STANDIN_SPEED", "0.5");
        cli.setProcessEnvironment(environment);
        cli.start();
        const QString bundle = world.path("Applications/Install macOS Ventura.app");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(bundle), 20000);
        ::kill(pid_t(cli.processId()), SIGINT);
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 130);
        const QList<QJsonObject> lines = jsonLines(cli.readAllStandardOutput());
        QVERIFY(wellFormedRun(lines));
        QVERIFY(!lines.last()["ok"].toBool());
        QVERIFY(!QFileInfo::exists(bundle));
        QTRY_COMPARE_WITH_TIMEOUT(Leftovers::processes(), QStringList(), 3000);
    }

    // A listing whose tool hangs is over as soon as it is interrupted: the exit does not wait out
    // the tool's own limit.
    void interruptWhileAToolHangs()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        const QString pidFile = world.replaceWithHangingTool("usr/sbin/diskutil");
        QProcess cli;
        prepare(cli, world, {"list-disks"});
        cli.start();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(pidFile), 20000);
        QElapsedTimer clock;
        clock.start();
        ::kill(pid_t(cli.processId()), SIGINT);
        QVERIFY(cli.waitForFinished(10000));
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(cli.exitCode(), 130);
        QTRY_COMPARE_WITH_TIMEOUT(Leftovers::processes(), QStringList(), 3000);
    }
};

QTEST_MAIN(CliTest)
#include "tst_cli.moc"
