// Runs the stand-in's createinstallmedia through an installer's own link, the way the application
// starts it, and holds it to the real tool's refusals and progress, piece by piece, and to what it
// leaves in the world: a renamed volume holding a small copy of the installer.
#include "Plist.h"
#include "World.h"
#include "support/StandInProgram.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QString link(const QString &root, const QString &installer)
{
    return root + QStringLiteral("/Applications/%1.app/Contents/Resources/createinstallmedia")
                      .arg(installer);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray modernOutput(const QString &volumeName)
{
    return "Erasing disk: 0%... 10%... 20%... 30%... 100%\n"
           "Making disk bootable...\n"
           "Copying to disk: 0%... 10%... 20%... 30%... 40%... 50%... 60%... 70%... 80%... 90%... "
           "100%\n"
           "Install media now available at \"/Volumes/" +
           volumeName.toUtf8() + "\"\n";
}

const QByteArray classicOutput = "Erasing Disk: 0%... 10%... 20%... 30%... 100%...\n"
                                 "Copying installer files to disk...\nCopy complete.\n"
                                 "Making disk bootable...\nCopying boot files...\nCopy complete.\n"
                                 "Done.\n";
const QByteArray elCapitanOutput = "Erasing Disk: 0%... 10%... 20%... 30%...100%...\n"
                                   "Copying installer files to disk...\nCopy complete.\n"
                                   "Making disk bootable...\nCopying boot files...\nCopy "
                                   "complete.\nDone.\n";

} // namespace

class TestStandinCreateInstallMedia : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_temporary;
    // Only refused on; tests that convert a volume make their own world.
    QString m_root;
    int m_worlds = 0;

    QString makeWorld()
    {
        const QString root =
            makeStandInWorld(m_temporary.filePath(QStringLiteral("mac%1").arg(++m_worlds)));
        if (root.isEmpty())
            return {};
        QFile note(root + QStringLiteral("/Volumes/UNTITLED/notes.txt"));
        return note.open(QIODevice::WriteOnly) ? root : QString();
    }

    static QProcessEnvironment environment(const QString &adminOf, const char *speed = "0")
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TESSALINE_HOST_ROOT"));
        environment.remove(QStringLiteral("TESSALINE_STANDIN_ADMIN"));
        if (!adminOf.isEmpty())
            environment.insert(QStringLiteral("TESSALINE_STANDIN_ADMIN"), adminOf);
        environment.insert(QStringLiteral("TESSALINE_STANDIN_SPEED"), QLatin1String(speed));
        return environment;
    }

    static Result run(const QString &program, const QStringList &args, const QString &adminOf,
                      const QByteArray &input = {})
    {
        QProcess process;
        process.setProcessEnvironment(environment(adminOf));
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

    // As the administrator, the way the application's privileged script runs it.
    static Result convert(const QString &root, const QString &installer, const QString &volume,
                          const QStringList &more = {})
    {
        return run(link(root, installer),
                   QStringList{"--volume", volume} + more + QStringList{"--nointeraction"}, root);
    }

    static QJsonObject volumeInfo(const QString &root, const QString &volume)
    {
        QProcess process;
        process.start(root + QStringLiteral("/usr/sbin/diskutil"), {"info", "-plist", volume});
        process.waitForFinished(10'000);
        return Plist::toJson(process.readAllStandardOutput()).toObject();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
        QVERIFY(m_temporary.isValid());
        m_root = makeWorld();
        QVERIFY(!m_root.isEmpty());
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("admin");
        QTest::addColumn<QString>("error");
        const QString usage =
            QStringLiteral("Usage: createinstallmedia --volume <path to volume to convert>\n");
        const QString invalid = QStringLiteral("%1 is not a valid volume mount point.\n");
        const auto args = [](const char *volume) {
            return QStringList{"--volume", QString::fromUtf8(volume), "--nointeraction"};
        };
        QTest::newRow("not root") << args("/Volumes/UNTITLED") << false
                                  << "This tool needs to be run as root.\n";
        QTest::newRow("no volume") << QStringList{"--nointeraction"} << true << usage;
        QTest::newRow("unknown argument")
            << args("/Volumes/UNTITLED") + QStringList{"--force"} << true << usage;
        QTest::newRow("no such volume")
            << args("/Volumes/Nothing") << true << invalid.arg("/Volumes/Nothing");
        QTest::newRow("folder on a volume")
            << args("/Volumes/SDCARD/DCIM") << true << invalid.arg("/Volumes/SDCARD/DCIM");
        // Erasing it would empty the whole world.
        QTest::newRow("the Mac's own disk") << args("/") << true << invalid.arg("/");
        QTest::newRow("read-only image")
            << args("/Volumes/Shared Support") << true << invalid.arg("/Volumes/Shared Support");
        QTest::newRow("not an installer")
            << args("/Volumes/UNTITLED") + QStringList{"--applicationpath", "/Volumes/Backup"}
            << true << "/Volumes/Backup does not appear to be a valid OS installer application.\n";
    }

    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, admin);
        QFETCH(QString, error);
        const QByteArray disksBefore = readFile(m_root + QStringLiteral("/var/standin/disks.json"));
        const Result result =
            run(link(m_root, "Install macOS Sequoia"), args, admin ? m_root : QString());
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.out, QByteArray());
        if (error.startsWith(QLatin1String("Usage:")))
            QVERIFY2(result.err.startsWith(error.toUtf8()), result.err.constData());
        else
            QCOMPARE(QString::fromUtf8(result.err), error);
        QCOMPARE(readFile(m_root + QStringLiteral("/var/standin/disks.json")), disksBefore);
        QVERIFY(QFileInfo::exists(m_root + QStringLiteral("/Volumes/UNTITLED/notes.txt")));
    }

    void tooSmall()
    {
        const QString root = makeWorld();
        QVERIFY(World(root).updateDisks([](QJsonArray &disks) {
            QJsonObject stick = disks.at(2).toObject();
            QJsonArray partitions = stick.value(u"Partitions").toArray();
            QJsonObject volume = partitions.at(1).toObject();
            volume.insert(QStringLiteral("Size"), qint64(10'000'000'000));
            partitions.replace(1, volume);
            stick.insert(QStringLiteral("Partitions"), partitions);
            disks.replace(2, stick);
            return true;
        }));
        const QString volume = root + QStringLiteral("/Volumes/UNTITLED");
        const Result result = convert(root, "Install macOS Sequoia", volume);
        QCOMPARE(result.exitCode, 1);
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^(.*) is not large enough for install media\\. An "
                                              "additional (\\d+\\.\\d\\d) GB is needed\\.\n$"))
                .match(QString::fromUtf8(result.err));
        QVERIFY2(match.hasMatch(), result.err.constData());
        QCOMPARE(match.captured(1), volume);
        // The payload alone is 13.9 GB; what more the tool asks for stays modest.
        const double shortfall = match.captured(2).toDouble();
        QVERIFY2(shortfall >= 3.9 && shortfall < 5.5, qPrintable(match.captured(2)));
        QVERIFY(QFileInfo::exists(volume + QStringLiteral("/notes.txt")));
    }

    void convertsThroughSudo()
    {
        const QString root = makeWorld();
        const QString tool = link(root, "Install macOS Sequoia");
        const QStringList command{tool, "--volume", "/Volumes/UNTITLED", "--nointeraction"};
        const Result result =
            run(root + QStringLiteral("/usr/bin/sudo"), command, QString(), "tessaline\n");
        QCOMPARE(result.err, QByteArray("Password:"));
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, modernOutput("Install macOS Sequoia"));

        const QString media = root + QStringLiteral("/Volumes/Install macOS Sequoia");
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/Volumes/UNTITLED")));
        QVERIFY(!QFileInfo::exists(media + QStringLiteral("/notes.txt")));
        const QString info = QStringLiteral("/Install macOS Sequoia.app/Contents/Info.plist");
        QCOMPARE(readFile(media + info), readFile(root + QStringLiteral("/Applications") + info));
        const QJsonObject volume = volumeInfo(root, media);
        QCOMPARE(volume.value(u"VolumeName").toString(), QStringLiteral("Install macOS Sequoia"));
        QCOMPARE(volume.value(u"MountPoint").toString(),
                 QStringLiteral("/Volumes/Install macOS Sequoia"));
        QCOMPARE(volume.value(u"DeviceIdentifier").toString(), QStringLiteral("disk4s2"));

        // The payload stays behind: the copy is what names the installer, not a second 14 GB.
        qint64 copied = 0;
        for (QDirIterator it(media, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();)
            copied += it.nextFileInfo().size();
        QVERIFY(copied < 10'000'000);

        const QByteArray log =
            readFile(root + QStringLiteral("/var/standin/createinstallmedia.log"));
        QCOMPARE(QJsonDocument::fromJson(log.trimmed().split('\n').constLast()).array(),
                 QJsonArray::fromStringList(command));
    }

    void secondMediaIsNumbered()
    {
        const QString root = makeWorld();
        QCOMPARE(convert(root, "Install macOS Sequoia", "/Volumes/UNTITLED").exitCode, 0);
        const Result second = convert(root, "Install macOS Sequoia", "/Volumes/SDCARD");
        QCOMPARE(second.out, modernOutput("Install macOS Sequoia 1"));
        QVERIFY(QFileInfo::exists(root + "/Volumes/Install macOS Sequoia 1/Install macOS "
                                         "Sequoia.app/Contents/Info.plist"));
        QCOMPARE(volumeInfo(root, "disk6s1").value(u"VolumeName").toString(),
                 QStringLiteral("Install macOS Sequoia 1"));
        // Made again, media keeps its own name rather than counting past itself.
        const Result again =
            convert(root, "Install macOS Sequoia", "/Volumes/Install macOS Sequoia");
        QCOMPARE(again.out, modernOutput("Install macOS Sequoia"));
    }

    void wordingFollowsTheInstaller_data()
    {
        QTest::addColumn<QString>("linkedFrom");
        QTest::addColumn<QStringList>("more");
        QTest::addColumn<QString>("installer");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("Sonoma") << "Install macOS Sonoma" << QStringList() << "Install macOS Sonoma"
                                << modernOutput("Install macOS Sonoma");
        QTest::newRow("Mojave, known by name only")
            << "Install macOS Mojave" << QStringList() << "Install macOS Mojave" << classicOutput;
        QTest::newRow("El Capitan by --applicationpath")
            << "Install macOS Sequoia"
            << QStringList{"--applicationpath", "/Applications/Install OS X El Capitan.app"}
            << "Install OS X El Capitan" << elCapitanOutput;
    }

    void wordingFollowsTheInstaller()
    {
        QFETCH(QString, linkedFrom);
        QFETCH(QStringList, more);
        QFETCH(QString, installer);
        QFETCH(QByteArray, output);
        const QString root = makeWorld();
        const Result result = convert(root, linkedFrom, "/Volumes/UNTITLED", more);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, output);
        const QJsonObject marker = QJsonDocument::fromJson(readFile(root + "/Volumes/" + installer +
                                                                    "/.standin-createinstallmedia"))
                                       .object();
        QCOMPARE(marker.value(u"installer").toString(), "/Applications/" + installer + ".app");
        QCOMPARE(volumeInfo(root, "disk4s2").value(u"VolumeName").toString(), installer);
    }

    void asksWithoutNoInteraction()
    {
        const Result result = run(link(m_root, "Install macOS Sequoia"),
                                  {"--volume", "/Volumes/UNTITLED"}, m_root, "n\n");
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.out.startsWith("Ready to start.\n"));
        QVERIFY(result.out.endsWith("If you wish to continue type (Y) then press return: "));
        QVERIFY(QFileInfo::exists(m_root + QStringLiteral("/Volumes/UNTITLED/notes.txt")));
    }

    // Pieces arrive as printed, so a reader can show progress before a line is complete.
    void progressArrivesInPieces()
    {
        const QString root = makeWorld();
        QProcess process;
        process.setProcessEnvironment(environment(root, "0.25"));
        process.start(link(root, "Install macOS Sequoia"),
                      {"--volume", "/Volumes/UNTITLED", "--nointeraction"});
        QByteArray out;
        int partialReads = 0;
        while (process.waitForReadyRead(5'000)) {
            const QByteArray piece = process.readAllStandardOutput();
            partialReads += piece.endsWith("... ") ? 1 : 0;
            out += piece;
        }
        process.waitForFinished();
        QCOMPARE(out, modernOutput("Install macOS Sequoia"));
        QVERIFY(partialReads >= 3);
    }

    void terminatedMidRun()
    {
        const QString root = makeWorld();
        QProcess process;
        process.setProcessEnvironment(environment(root, "1"));
        process.start(link(root, "Install macOS Sequoia"),
                      {"--volume", "/Volumes/UNTITLED", "--nointeraction"});
        QByteArray out;
        while (!out.contains("30%") && process.waitForReadyRead(5'000))
            out += process.readAllStandardOutput();
        QElapsedTimer timer;
        timer.start();
        process.terminate();
        QVERIFY(process.waitForFinished(5'000));
        QVERIFY(timer.elapsed() < 1'000);

        QString error;
        QVERIFY(!World(root).readState(QStringLiteral("disks"), &error).isEmpty());
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QString mountPoint = volumeInfo(root, "disk4s2").value(u"MountPoint").toString();
        QVERIFY(QFileInfo(root + mountPoint).isDir());
    }
};

QTEST_GUILESS_MAIN(TestStandinCreateInstallMedia)
#include "tst_standin_createinstallmedia.moc"
