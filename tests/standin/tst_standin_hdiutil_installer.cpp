// Runs the stand-in's hdiutil, installer and open through a world's own links, the way the
// application drives them, and holds their answers against the real tools' transcripts: what they
// print, their exit status, and what they leave in the world.
#include "Plist.h"
#include "World.h"
#include "support/StandInProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

// Through the world's own link, without pauses, and as an ordinary user unless `asAdministrator`.
Result run(const QString &root, const QString &tool, const QStringList &args,
           bool asAdministrator = false)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("TESSALINE_HOST_ROOT"));
    environment.remove(QStringLiteral("TESSALINE_STANDIN_ADMIN"));
    environment.insert(QStringLiteral("TESSALINE_STANDIN_SPEED"), QStringLiteral("0"));
    if (asAdministrator)
        environment.insert(QStringLiteral("TESSALINE_STANDIN_ADMIN"), root);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(root + tool, args);
    if (!process.waitForFinished(10'000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

Result hdiutil(const QString &root, const QStringList &args)
{
    return run(root, QStringLiteral("/usr/bin/hdiutil"), args);
}

Result installer(const QString &root, const QStringList &args, bool asAdministrator)
{
    return run(root, QStringLiteral("/usr/sbin/installer"), args, asAdministrator);
}

QStringList wholeDisks(const QString &root)
{
    QStringList identifiers;
    for (const QJsonValue &disk : World(root).disks())
        identifiers << disk.toObject().value(u"DeviceIdentifier").toString();
    return identifiers;
}

qint64 allocatedBytes(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return -1;
    return qint64(status.st_blocks) * 512;
}

QList<QJsonArray> logLines(const QString &root, const QString &log)
{
    QFile file(root + QStringLiteral("/var/standin/") + log);
    QList<QJsonArray> lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    while (!file.atEnd())
        lines << QJsonDocument::fromJson(file.readLine()).array();
    return lines;
}

const QString imageName = QStringLiteral("Install macOS Sonoma");
const qint64 imageSize = 14921LL * 1048576;
const QString ventura = QStringLiteral("/Applications/Install macOS Ventura.app");

} // namespace

class TestStandinHdiutilInstaller : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_temporary;
    int m_worlds = 0;

    QString newWorld()
    {
        return makeStandInWorld(m_temporary.filePath(QStringLiteral("mac%1").arg(++m_worlds)));
    }

    // Creates the image the application makes for an ISO, by host path; returns its path.
    static QString createImage(const QString &root)
    {
        const QString stage = root + QStringLiteral("/tmp/stage");
        const QString image = root + QStringLiteral("/tmp/") + imageName + QStringLiteral(".dmg");
        QDir().mkpath(stage);
        const Result result =
            hdiutil(root, {"create", "-size", "14921m", "-volname", imageName, "-fs", "HFS+J",
                           "-srcfolder", stage, "-format", "UDRW", image});
        return result.exitCode == 0 ? image : QString();
    }

    static QString attachImage(const QString &root, const QString &image)
    {
        const QString mountPoint = root + QStringLiteral("/Volumes/") + imageName;
        const Result result =
            hdiutil(root, {"attach", image, "-noverify", "-mountpoint", mountPoint});
        return result.exitCode == 0 ? mountPoint : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
        QVERIFY(m_temporary.isValid());
    }

    void createMakesSparseImage_data()
    {
        QTest::addColumn<bool>("macPath");
        QTest::newRow("host path") << false;
        QTest::newRow("Mac path") << true;
    }

    void createMakesSparseImage()
    {
        QFETCH(bool, macPath);
        const QString root = newWorld();
        const QString given = (macPath ? QString() : root) + QStringLiteral("/tmp/Install.dmg");
        const Result result = hdiutil(root, {"create", "-size", "14921m", "-volname", imageName,
                                             "-fs", "HFS+J", "-format", "UDRW", given});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QString());
        QVERIFY2(QRegularExpression(QStringLiteral("^\\.+\\ncreated: ") +
                                    QRegularExpression::escape(given) + QStringLiteral("\\n$"))
                     .match(result.out)
                     .hasMatch(),
                 qPrintable(result.out));

        const QString file = root + QStringLiteral("/tmp/Install.dmg");
        QCOMPARE(QFileInfo(file).size(), imageSize);
        QVERIFY(allocatedBytes(file) < 1024 * 1024);
    }

    void createFailures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        // "@" stands for the world's folder.
        QTest::newRow("existing image")
            << QStringList{"-size", "10m", "@/tmp/existing.dmg"} << "create failed - File exists";
        QTest::newRow("no space") << QStringList{"-size", "900000000m", "@/tmp/new.dmg"}
                                  << "create failed - No space left on device";
        QTest::newRow("missing source folder")
            << QStringList{"-size", "10m", "-srcfolder", "@/tmp/none", "@/tmp/new.dmg"}
            << "create failed - No such file or directory";
        QTest::newRow("no size") << QStringList{"@/tmp/new.dmg"} << QString();
        QTest::newRow("unknown option")
            << QStringList{"-size", "10m", "-bogus", "@/tmp/new.dmg"} << QString();
    }

    void createFailures()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        const QString root = newWorld();
        QFile existing(root + QStringLiteral("/tmp/existing.dmg"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        for (QString &arg : args)
            arg.replace(u'@', root);

        const Result result = hdiutil(root, QStringList{"create"} + args);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.out, QString());
        if (error.isEmpty())
            QCOMPARE(result.err, QStringLiteral("Usage:\thdiutil create [options] <imagepath>\n"
                                                "\thdiutil create -help\n"));
        else
            QCOMPARE(result.err, QStringLiteral("hdiutil: ") + error + u'\n');
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/tmp/new.dmg")));
        QCOMPARE(existing.size(), 0);
    }

    // What the application sees after attaching: the table, the folder, and diskutil's disk.
    void attachShowsTheVolume()
    {
        const QString root = newWorld();
        const QString image = createImage(root);
        QVERIFY(!image.isEmpty());
        const QString mountPoint = root + QStringLiteral("/Volumes/") + imageName;

        Result result = hdiutil(root, {"attach", image, "-noverify", "-mountpoint", mountPoint});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QString());
        QCOMPARE(result.out, QStringLiteral("/dev/disk8          \tGUID_partition_scheme          "
                                            "\t\n/dev/disk8s1        \tApple_HFS              "
                                            "        \t/Volumes/Install macOS Sonoma\n"));
        QVERIFY(QFileInfo(mountPoint).isDir());

        result = run(root, QStringLiteral("/usr/sbin/diskutil"), {"list", "-plist"});
        QCOMPARE(result.exitCode, 0);
        const QJsonObject list = Plist::toJson(result.out.toUtf8()).toObject();
        QVERIFY(list.value(u"WholeDisks").toArray().contains(QStringLiteral("disk8")));
        QVERIFY(list.value(u"VolumesFromDisks").toArray().contains(imageName));
        const QJsonObject disk = list.value(u"AllDisksAndPartitions").toArray().last().toObject();
        QCOMPARE(disk.value(u"Size").toDouble(), double(imageSize));
        const QJsonObject volume = disk.value(u"Partitions").toArray().first().toObject();
        QCOMPARE(volume.value(u"MountPoint").toString(), QStringLiteral("/Volumes/") + imageName);
        QCOMPARE(volume.value(u"DeviceIdentifier").toString(), QStringLiteral("disk8s1"));

        result = run(root, QStringLiteral("/usr/sbin/diskutil"), {"info", "-plist", mountPoint});
        const QJsonObject info = Plist::toJson(result.out.toUtf8()).toObject();
        QCOMPARE(info.value(u"BusProtocol").toString(), QStringLiteral("Disk Image"));
        QCOMPARE(info.value(u"FilesystemType").toString(), QStringLiteral("hfs"));
        QCOMPARE(info.value(u"WritableVolume").toBool(), true);

        // A second attach of the same image, and images that are not there or not images.
        result = hdiutil(root, {"attach", image, "-noverify", "-mountpoint", mountPoint + u'2'});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err,
                 QStringLiteral("hdiutil: attach failed - Resource temporarily unavailable\n"));
        result =
            hdiutil(root, {"attach", "/tmp/none.dmg", "-noverify", "-mountpoint", "/Volumes/none"});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.err,
                 QStringLiteral("hdiutil: attach failed - No such file or directory\n"));
        result = hdiutil(root, {"attach", root + QStringLiteral("/etc/computer-name")});
        QCOMPARE(result.err, QStringLiteral("hdiutil: attach failed - image not recognized\n"));
        QCOMPARE(wholeDisks(root).size(), 7);
    }

    void detachRemovesTheVolume()
    {
        const QString root = newWorld();
        const QString image = createImage(root);
        const QString mountPoint = attachImage(root, image);
        QVERIFY(!mountPoint.isEmpty());
        QFile file(mountPoint + QStringLiteral("/Install macOS Sonoma.app/Contents/Info.plist"));
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        Result result = hdiutil(root, {"detach", mountPoint, "-force"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QStringLiteral("\"disk8\" ejected.\n"));
        QVERIFY(!QFileInfo::exists(mountPoint));
        QVERIFY(!wholeDisks(root).contains(QStringLiteral("disk8")));
        QCOMPARE(QFileInfo(image).size(), imageSize);

        result = hdiutil(root, {"detach", mountPoint, "-force"});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err,
                 QStringLiteral("hdiutil: detach failed - No such file or directory\n"));
        result = hdiutil(root, {"detach", "/dev/disk99"});
        QCOMPARE(result.exitCode, 1);

        // Attached again, the volume starts empty.
        QCOMPARE(attachImage(root, image), mountPoint);
        QVERIFY(QDir(mountPoint).isEmpty());
    }

    void detachBusyVolume()
    {
        const QString root = newWorld();
        const QString mountPoint = attachImage(root, createImage(root));
        QFile marker(mountPoint + QStringLiteral("/.standin-busy"));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();

        Result result = hdiutil(root, {"detach", QStringLiteral("/Volumes/") + imageName});
        QCOMPARE(result.exitCode, 16);
        QCOMPARE(result.err,
                 QStringLiteral("hdiutil: couldn't unmount \"disk8\" - Resource busy\n"));
        QVERIFY(marker.exists());
        QVERIFY(wholeDisks(root).contains(QStringLiteral("disk8")));

        result = hdiutil(root, {"detach", "disk8", "-force"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(!QFileInfo::exists(mountPoint));
    }

    // Only folders right under Volumes are volumes the stand-in may delete.
    void detachKeepsOtherMountFolders()
    {
        const QString root = newWorld();
        const QString image = createImage(root);
        const QString folder = root + QStringLiteral("/tmp/mounted");
        QCOMPARE(hdiutil(root, {"attach", image, "-mountpoint", folder}).exitCode, 0);
        QFile keep(folder + QStringLiteral("/keep"));
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.close();

        QCOMPARE(hdiutil(root, {"detach", folder}).exitCode, 0);
        QVERIFY(keep.exists());
        QVERIFY(!wholeDisks(root).contains(QStringLiteral("disk8")));
    }

    void convertWritesCdr()
    {
        const QString root = newWorld();
        const QString image = createImage(root);
        const QString base = root + QStringLiteral("/Desktop/") + imageName;

        Result result = hdiutil(root, {"convert", image, "-format", "UDTO", "-o", base});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QString());
        const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), QStringLiteral("Reading Protective Master Boot Record (MBR : 0)…"));
        QVERIFY(result.out.contains(QLatin1String("\nElapsed Time: ")));
        QCOMPARE(lines.last(), QStringLiteral("created: ") + base + QStringLiteral(".cdr"));
        QCOMPARE(QFileInfo(base + QStringLiteral(".cdr")).size(), imageSize);
        QVERIFY(allocatedBytes(base + QStringLiteral(".cdr")) < 1024 * 1024);

        result = hdiutil(root, {"convert", image, "-format", "UDTO", "-o", base});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err, QStringLiteral("hdiutil: convert failed - File exists\n"));
        result = hdiutil(root, {"convert", root + QStringLiteral("/tmp/none.dmg"), "-format",
                                "UDTO", "-o", root + QStringLiteral("/Desktop/none")});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err,
                 QStringLiteral("hdiutil: convert failed - No such file or directory\n"));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/Desktop/none.cdr")));
    }

    void installerInstallsTheApplication()
    {
        const QString root = newWorld();
        const QString package = root + QStringLiteral("/Downloads/InstallAssistant.pkg");
        QVERIFY(!QFileInfo::exists(root + ventura));

        const QStringList args{"-pkg", package, "-target", "/Applications"};
        const Result result = installer(root, args, true);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QString());
        QCOMPARE(result.out, QStringLiteral("installer: Package name is macOS Ventura\n"
                                            "installer: Installing at base path /Applications\n"
                                            "installer: The install was successful.\n"));

        QFile infoPlist(root + ventura + QStringLiteral("/Contents/Info.plist"));
        QVERIFY(infoPlist.open(QIODevice::ReadOnly));
        const QJsonObject info = Plist::toJson(infoPlist.readAll()).toObject();
        QCOMPARE(info.value(u"CFBundleDisplayName").toString(),
                 QStringLiteral("Install macOS Ventura"));
        QCOMPARE(info.value(u"DTPlatformVersion").toString(), QStringLiteral("13.6"));
        QCOMPARE(info.value(u"DTPlatformBuild").toString(), QStringLiteral("22G120"));
        const QString contents = root + ventura + QStringLiteral("/Contents");
        QCOMPARE(QFileInfo(contents + QStringLiteral("/Resources/createinstallmedia"))
                     .canonicalFilePath(),
                 standinProgram());
        QVERIFY(QFileInfo(contents + QStringLiteral("/Resources/InstallAssistant.icns")).size() >
                0);
        QVERIFY(QFileInfo(contents + QStringLiteral("/SharedSupport/SharedSupport.dmg")).size() >
                1'000'000'000);
        QCOMPARE(QDir(root + QStringLiteral("/Applications"))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                     .size(),
                 5);
        QCOMPARE(logLines(root, QStringLiteral("installer.log")).last(),
                 QJsonArray::fromStringList(QStringList{"installer"} + args));

        // Its payload attaches like the real one, next to the Shared Support already mounted.
        const Result attached = hdiutil(
            root, {"attach", contents + QStringLiteral("/SharedSupport/SharedSupport.dmg")});
        QCOMPARE(attached.exitCode, 0);
        QVERIFY2(attached.out.endsWith(QLatin1String("\t/Volumes/Shared Support 1\n")),
                 qPrintable(attached.out));
    }

    void installerRefuses_data()
    {
        QTest::addColumn<QString>("package");
        QTest::addColumn<bool>("asAdministrator");
        QTest::addColumn<QString>("error");
        QTest::newRow("not administrator")
            << "@/Downloads/InstallAssistant.pkg" << false
            << "installer: Must be run as root to install this package.\n";
        QTest::newRow("missing package")
            << "/private/tmp/none.pkg" << true
            << "installer: Error - the package path specified was invalid: "
               "'/private/tmp/none.pkg'.\n";
        QTest::newRow("not a package")
            << "@/etc/computer-name" << true
            << "installer: Error - the package path specified was invalid: "
               "'@/etc/computer-name'.\n";
    }

    void installerRefuses()
    {
        QFETCH(QString, package);
        QFETCH(bool, asAdministrator);
        QFETCH(QString, error);
        const QString root = newWorld();
        package.replace(u'@', root);
        error.replace(u'@', root);

        const Result result =
            installer(root, {"-pkg", package, "-target", "/Applications"}, asAdministrator);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.err, error);
        QVERIFY(!QFileInfo::exists(root + ventura));
    }

    // As Installer.app would: in the background, with the rights the user's password gives.
    void openInstallsPackage()
    {
        const QString root = newWorld();
        const QString package = QStringLiteral("/Downloads/InstallAssistant.pkg");
        const Result result = run(root, QStringLiteral("/usr/bin/open"), {package});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QString());

        QTRY_VERIFY(QFileInfo::exists(root + ventura + QStringLiteral("/Contents/Info.plist")));
        const QString output = root + QStringLiteral("/var/standin/open-install.out");
        QTRY_VERIFY([&] {
            QFile file(output);
            return file.open(QIODevice::ReadOnly) &&
                   file.readAll().endsWith("installer: The install was successful.\n");
        }());
        QCOMPARE(logLines(root, QStringLiteral("open.log")),
                 (QList<QJsonArray>{QJsonArray{"open", package}}));
        QCOMPARE(logLines(root, QStringLiteral("installer.log")).size(), 1);
    }

    void openMissingFile()
    {
        const QString root = newWorld();
        const QString package = root + QStringLiteral("/Downloads/none.pkg");
        const Result result = run(root, QStringLiteral("/usr/bin/open"), {package});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err, QStringLiteral("The file %1 does not exist.\n").arg(package));
        QCOMPARE(logLines(root, QStringLiteral("open.log")),
                 (QList<QJsonArray>{QJsonArray{"open", package}}));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/var/standin/installer.log")));
    }
};

QTEST_GUILESS_MAIN(TestStandinHdiutilInstaller)
#include "tst_standin_hdiutil_installer.moc"
