// Runs the stand-in's createinstallmedia through an installer's own link, as the application does,
// and holds it to the real tool's refusals, progress and what it leaves behind.
#include "World.h"
#include "support/FolderCopy.h"
#include "support/StandInWorld.h"
#include "support/Transcript.h"
#include "tools/FileTree.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <list>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

class TestStandinCreateInstallMedia : public QObject {
    Q_OBJECT

private:
    struct Run {
        const char *linkedFrom; // the installer whose createinstallmedia runs
        QStringList args;
        QString err;
        QByteArray out = {};
        const char *media = nullptr; // the name the converted volume takes
        bool admin = true;
    };

    QTemporaryDir m_temporary;
    QString m_root; // only refused on; conversions make their own world
    // The worlds made, kept until the suite ends.
    std::list<StandInWorld> m_worlds;

    // What Ventura and later print on standard output; erasing goes to standard error.
    static QByteArray venturaOutput(const char *volumeName)
    {
        return "Copying essential files...\nCopying the macOS RecoveryOS...\nMaking disk "
               "bootable...\nCopying to disk: 0%... 10%... 20%... 30%... 40%... 50%... 60%... "
               "70%... 80%... 90%... 100%\nInstall media now available at \"/Volumes/" +
               QByteArray(volumeName) + "\"\n";
    }

    // What El Capitan to High Sierra print, all on standard output.
    static QByteArray classicOutput()
    {
        return "Erasing Disk: 0%... 10%... 20%... 30%...100%...\nCopying installer files to "
               "disk...\nCopy complete.\nMaking disk bootable...\nCopying boot files...\nCopy "
               "complete.\nDone.\n";
    }

    // Every entry under `folder` by relative path: its mode, and its size or, for a link, the
    // target as written.
    static QMap<QString, QString> treeOf(const QString &folder)
    {
        QMap<QString, QString> tree;
        QDirIterator it(folder,
                        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            struct stat status {};
            ::lstat(QFile::encodeName(path).constData(), &status);
            QString entry = QString::number(status.st_mode, 8);
            if (S_ISLNK(status.st_mode))
                entry += " -> "_L1 +
                         QString::fromStdString(std::filesystem::read_symlink(path.toStdString()));
            else if (!S_ISDIR(status.st_mode))
                entry += u' ' + QString::number(status.st_size);
            tree.insert(QDir(folder).relativeFilePath(path), entry);
        }
        return tree;
    }

    static qint64 allocated(const QString &path)
    {
        struct stat status {};
        return ::lstat(QFile::encodeName(path).constData(), &status) == 0
                   ? qint64(status.st_blocks) * 512
                   : -1;
    }

    static QByteArray bytesOf(const QString &path, qint64 offset = 0, qint64 size = -1)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
            return {};
        return size < 0 ? file.readAll() : file.read(size);
    }

    static QByteArray disksState(const QString &root)
    {
        QFile file(root + "/var/standin/disks.json"_L1);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A fresh world whose stick holds a file, to show what erasing takes away.
    QString makeWorld()
    {
        const QString root = m_worlds.emplace_back(StandInWorld::asMade()).canonicalRoot();
        QFile note(root + "/Volumes/UNTITLED/notes.txt"_L1);
        return !root.isEmpty() && note.open(QIODevice::WriteOnly) ? root : QString();
    }

    // Through the installer's link, as the administrator of `admin` if given.
    static void start(QProcess &process, const QString &root, const char *installer,
                      const QStringList &args, const QString &admin, const char *speed = "0")
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"TESSALINE_HOST_ROOT"_s);
        environment.insert(u"TESSALINE_STANDIN_ADMIN"_s, admin);
        environment.insert(u"TESSALINE_STANDIN_SPEED"_s, QLatin1String(speed));
        process.setProcessEnvironment(environment);
        process.start(root + "/Applications/"_L1 + QLatin1String(installer) +
                          ".app/Contents/Resources/createinstallmedia"_L1,
                      args);
        process.closeWriteChannel();
    }

private slots:
    // El Capitan's payload grows past what the stick holds.
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
        m_root = makeWorld();
        QVERIFY(!m_root.isEmpty());
        QVERIFY(QFile::resize(m_root + "/Applications/Install OS X El Capitan.app/Contents/"
                                       "SharedSupport/SharedSupport.dmg"_L1,
                              40'000'000'000));
    }

    // Refused or declined, it changes nothing; converting, it speaks the installer's era.
    void runs_data()
    {
        QTest::addColumn<Run>("run");
        const auto refused = [](const char *name, const char *volume, const QString &error,
                                const QStringList &more = {"--nointeraction"}, bool admin = true) {
            Run run{"Install macOS Sequoia", QStringList{"--volume", volume} + more, error};
            run.admin = admin;
            QTest::newRow(name) << run;
        };
        const QString invalid = u"%1 is not a valid volume mount point.\n"_s;
        refused("not root", "/Volumes/UNTITLED", u"This tool needs to be run as root.\n"_s,
                {"--nointeraction"}, false);
        refused("no such volume", "/Volumes/Nothing", invalid.arg("/Volumes/Nothing"));
        refused("the Mac's own disk", "/", invalid.arg("/"));
        refused("not an installer", "/Volumes/UNTITLED",
                u"/Volumes/Backup does not appear to be a valid OS installer application.\n"_s,
                {"--applicationpath", "/Volumes/Backup", "--nointeraction"});
        refused(
            "too small", "/Volumes/UNTITLED",
            u"/Volumes/UNTITLED is not large enough for install media. An additional 10.4 GB "
            "is needed.\n"_s,
            {"--applicationpath", "/Applications/Install OS X El Capitan.app", "--nointeraction"});
        QTest::newRow("declined") << Run{
            "Install macOS Sequoia",
            {"--volume", "/Volumes/UNTITLED"},
            {},
            "Ready to start.\nTo continue we need to erase the volume at /Volumes/UNTITLED.\nIf "
            "you wish to continue type (Y) then press return: "};
        QTest::newRow("declined, El Capitan says disk") << Run{
            "Install macOS Sequoia",
            {"--volume", "/Volumes/UNTITLED", "--applicationpath",
             "/Applications/Install OS X El Capitan.app"},
            {},
            "Ready to start.\nTo continue we need to erase the disk at /Volumes/UNTITLED.\nIf "
            "you wish to continue type (Y) then press return: "};

        const QStringList untitled{"--volume", "/Volumes/UNTITLED", "--nointeraction"};
        const auto converts = [&](const char *name, const char *linkedFrom, const QByteArray &out,
                                  const char *media, const QStringList &more = {}) {
            QTest::newRow(name) << Run{linkedFrom, untitled + more, {}, out, media};
        };
        converts("El Capitan by --applicationpath", "Install macOS Sequoia", classicOutput(),
                 "Install OS X El Capitan",
                 {"--applicationpath", "/Applications/Install OS X El Capitan.app"});
    }

    void runs()
    {
        QFETCH(Run, run);
        const bool converts = run.media;
        // Only a run that could go ahead asks first, so a question needs a world that fits.
        const bool asks = !run.args.contains(u"--nointeraction"_s);
        const QString root = converts || asks ? makeWorld() : m_root;
        const QByteArray disksBefore = disksState(root);
        QProcess process;
        start(process, root, run.linkedFrom, run.args, run.admin ? root : QString());
        QVERIFY(process.waitForFinished(10'000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()), run.err);
        QCOMPARE(process.readAllStandardOutput(), run.out);
        QCOMPARE(process.exitCode(), converts                                ? 0
                                     : run.err.contains(u"not large enough") ? 246
                                                                             : 1);
        QCOMPARE(QFileInfo::exists(root + "/Volumes/UNTITLED/notes.txt"_L1), !converts);
        if (!converts) {
            QCOMPARE(disksState(root), disksBefore);
            return;
        }
        const QString installer = QString::fromUtf8(run.media);
        QVERIFY(!QFileInfo::exists(root + "/Volumes/UNTITLED"_L1));
        QVERIFY(
            QFileInfo::exists(root + "/Volumes/%1/%1.app/Contents/Info.plist"_L1.arg(installer)));
        QCOMPARE(World(root).disks()[2][u"Partitions"][1][u"VolumeName"].toString(), installer);
    }

    // Each era's run and each failure, stream by stream and with its status, as the real tool's
    // transcript has it. An era the world has no installer of gets a copy renamed after it.
    void matchesItsTranscript_data()
    {
        QTest::addColumn<QString>("transcript");
        QTest::addColumn<QString>("installer");
        QTest::addColumn<QString>("failure");
        const auto row = [](const char *transcript, const char *installer, const char *failure) {
            QTest::newRow(transcript)
                << QString(transcript) << QString(installer) << QString(failure);
        };
        row("el-capitan-ok", "Install OS X El Capitan", "");
        row("high-sierra-ok", "Install macOS High Sierra", "");
        row("catalina-ok", "Install macOS Catalina", "");
        row("big-sur-ok", "Install macOS Big Sur", "");
        row("monterey-ok", "Install macOS Monterey", "");
        row("sonoma-ok", "Install macOS Sonoma", "");
        row("erase-failed", "Install macOS Big Sur", "erase");
        row("bless-failed", "Install macOS Big Sur", "bless");
        row("apfs-refused", "Install macOS Ventura", "apfs");
        row("too-small", "Install macOS Ventura", "too-small");
    }
    void matchesItsTranscript()
    {
        QFETCH(QString, transcript);
        QFETCH(QString, installer);
        QFETCH(QString, failure);
        const Transcript recorded = Transcript::read("createinstallmedia", transcript);
        QVERIFY(!recorded.pieces.isEmpty());
        const QString root = makeWorld();
        const QString applications = root + "/Applications/"_L1;
        if (!QFileInfo::exists(applications + installer + ".app"_L1)) {
            // High Sierra's bundle looks like El Capitan's; the later ones like Sonoma's.
            const bool old = installer.contains("High Sierra"_L1);
            const QString model = old ? u"Install OS X El Capitan"_s : u"Install macOS Sonoma"_s;
            QVERIFY(
                copyFolder(applications + model + ".app"_L1, applications + installer + ".app"_L1));
            QFile plist(applications + installer + ".app/Contents/Info.plist"_L1);
            QVERIFY(plist.open(QIODevice::ReadOnly));
            QByteArray info = plist.readAll().replace(model.toUtf8(), installer.toUtf8());
            if (!old)
                info.replace("<string>14.6</string>", "<string>11.0</string>");
            plist.close();
            QVERIFY(plist.open(QIODevice::WriteOnly | QIODevice::Truncate));
            plist.write(info);
        }
        if (!failure.isEmpty()) {
            QFile choice(root + "/var/standin/createinstallmedia.json"_L1);
            QVERIFY(choice.open(QIODevice::WriteOnly));
            choice.write("{\"fail\": \"" + failure.toUtf8() + "\"}");
        }
        QProcess process;
        start(process, root, qPrintable(installer),
              {"--volume", "/Volumes/UNTITLED", "--nointeraction"}, root);
        QVERIFY(process.waitForFinished(10'000));
        // The recorded stick had another name.
        const auto here = [](QString text) {
            return text.replace("/Volumes/TINY"_L1, "/Volumes/UNTITLED"_L1);
        };
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()),
                 here(recorded.streamText(false)));
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                 here(recorded.streamText(true)));
        QCOMPARE(process.exitCode(), recorded.exitStatus);
    }

    // Holes stay holes and zeros written out become holes; links are copied as written, never
    // followed, even when they lead nowhere; modes are kept; nothing is copied over.
    void treeCopyIsFaithful()
    {
        const QString source = m_temporary.filePath(u"tree"_s);
        const QString target = m_temporary.filePath(u"tree copy"_s);
        QVERIFY(QDir().mkpath(source + "/folder"_L1));
        QFile sparse(source + "/sparse"_L1);
        constexpr qint64 size = 32 * 1024 * 1024;
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.write("start") == 5 &&
                sparse.seek(size / 2) && sparse.write(QByteArray(10'000, '\xab')) == 10'000 &&
                sparse.seek(size - 3) && sparse.write("end") == 3);
        sparse.close();
        QFile zeros(source + "/folder/zeros"_L1);
        QVERIFY(zeros.open(QIODevice::WriteOnly) && zeros.write(QByteArray(70'000, 0)) == 70'000);
        zeros.close();
        QVERIFY(zeros.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(QFile::link(u"../nowhere"_s, source + "/folder/dangling"_L1));
        QVERIFY(QFile::link(u"folder"_s, source + "/folder link"_L1));

        QString error;
        QVERIFY2(FileTree::copy(source, target, &error), qPrintable(error));
        QCOMPARE(treeOf(source).size(), 5);
        QCOMPARE(treeOf(target), treeOf(source));
        QCOMPARE(bytesOf(target + "/sparse"_L1), bytesOf(source + "/sparse"_L1));
        QVERIFY(allocated(target + "/sparse"_L1) < 1024 * 1024);
        QCOMPARE(allocated(target + "/folder/zeros"_L1), 0);
        QVERIFY(!FileTree::copy(source + "/sparse"_L1, target + "/sparse"_L1, &error));
    }

    // The volume gets the whole bundle, its payload as sparse, unless a damage spoils the one
    // thing it names; the installer stays as it was and the run goes on as if nothing happened.
    // A damage that cannot be done fails the run.
    void copiesTheInstaller_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("installer");
        QTest::addColumn<QString>("payload");
        QTest::addColumn<QString>("spoilt");    // the entry of the copy unlike the installer's
        QTest::addColumn<QByteArray>("middle"); // the payload's byte halfway, then the copy's
        QTest::addColumn<int>("status");
        const auto row = [](const char *name, const char *damage, const char *spoilt,
                            QByteArray middle = QByteArray(2, 0), int status = 0,
                            const char *installer = "Install macOS Sequoia",
                            const char *payload = "SharedSupport.dmg") {
            QTest::newRow(name) << QString(damage) << QString(installer)
                                << "Contents/SharedSupport/"_L1 + QLatin1String(payload)
                                << QString(spoilt) << middle << status;
        };
        row("whole", "", "");
        row("missing", "missing", "Contents/PkgInfo");
        row("size", "size", "Contents/MacOS/InstallAssistant_springboard");
        row("link", "link", "Contents/Resources/createinstallmedia");
        row("payload in a hole", "payload", "", QByteArray("\0\1", 2));
        row("payload on a byte", "payload", "", QByteArray("\x7f\0", 2));
        row("payload of an older installer", "payload", "", QByteArray("\0\1", 2), 0,
            "Install OS X El Capitan", "InstallESD.dmg");
        row("unknown", "dust", "", QByteArray(2, 0), 1);
    }
    void copiesTheInstaller()
    {
        QFETCH(QString, damage);
        QFETCH(QString, installer);
        QFETCH(QString, payload);
        QFETCH(QString, spoilt);
        QFETCH(QByteArray, middle);
        const QString root = makeWorld();
        const QString app = root + "/Applications/"_L1 + installer + ".app/"_L1;
        if (!QFileInfo::exists(app + payload))
            QVERIFY(
                QFile::rename(app + "Contents/SharedSupport/SharedSupport.dmg"_L1, app + payload));
        const qint64 half = QFileInfo(app + payload).size() / 2;
        if (middle.at(0) != 0) {
            QFile original(app + payload);
            QVERIFY(original.open(QIODevice::ReadWrite) && original.seek(half) &&
                    original.putChar(middle.at(0)));
        }
        const QMap<QString, QString> before = treeOf(app);
        QVERIFY(World(root).writeState(u"createinstallmedia"_s, {{u"damage"_s, damage}}));

        QProcess process;
        start(process, root, qPrintable(installer),
              {"--volume", "/Volumes/UNTITLED", "--nointeraction"}, root);
        QVERIFY(process.waitForFinished(10'000));
        QTEST(process.exitCode(), "status");
        if (process.exitCode() != 0)
            return;
        QCOMPARE(process.readAllStandardOutput(), installer.contains(u"OS X")
                                                      ? classicOutput()
                                                      : venturaOutput("Install macOS Sequoia"));
        const QString copy = root + "/Volumes/%1/%1.app/"_L1.arg(installer);
        const QMap<QString, QString> copied = treeOf(copy);
        QStringList unlike;
        for (const QString &path : before.keys() + copied.keys()) {
            if (copied.value(path) != before.value(path) && !unlike.contains(path))
                unlike << path;
        }
        QCOMPARE(unlike, spoilt.isEmpty() ? QStringList() : QStringList{spoilt});
        QCOMPARE(treeOf(app), before);
        QCOMPARE(bytesOf(app + payload, half, 1) + bytesOf(copy + payload, half, 1), middle);
        QVERIFY(allocated(copy + payload) < 1024 * 1024);
    }

    // Pieces arrive as printed, so a reader can show progress before a line is complete.
    void progressArrivesInPieces()
    {
        const QString root = makeWorld();
        QProcess process;
        start(process, root, "Install macOS Sequoia",
              {"--volume", "/Volumes/UNTITLED", "--nointeraction"}, root, "0.25");
        QByteArray out;
        int partialReads = 0;
        while (process.waitForReadyRead(5'000)) {
            const QByteArray piece = process.readAllStandardOutput();
            partialReads += piece.endsWith("... ") ? 1 : 0;
            out += piece;
        }
        process.waitForFinished();
        QCOMPARE(out, venturaOutput("Install macOS Sequoia"));
        QVERIFY(partialReads >= 3);
    }
};

QTEST_GUILESS_MAIN(TestStandinCreateInstallMedia)
#include "tst_standin_createinstallmedia.moc"
