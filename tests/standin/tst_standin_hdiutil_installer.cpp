// Runs the stand-in's hdiutil and installer through a world's own links, the way the application
// drives them, and holds them to the real tools' transcripts and to what they leave behind.
#include "World.h"
#include "standin/StandInTools.h"
#include "support/StandInWorld.h"
#include "support/Transcript.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <list>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

using Result = ToolResult;

class TestStandinHdiutilInstaller : public QObject {
    Q_OBJECT

private:
    // The worlds made, kept until the suite ends.
    std::list<StandInWorld> m_worlds;

    QString newWorld() { return m_worlds.emplace_back(StandInWorld::asMade()).canonicalRoot(); }
    static Result failed(const char *error) { return {1, {}, "hdiutil: "_L1 + error + u'\n'}; }
    // What the real tool printed in `name`, stream by stream, with its status; the recorded image
    // was disk7 where this world's first is disk8, and the recorded package made Sonoma.
    static Result recorded(const char *tool, const char *name)
    {
        const Transcript run = Transcript::read(QLatin1String(tool), QLatin1String(name));
        const bool package = QLatin1String(tool) == "installer"_L1;
        const auto here = [package](QString text) {
            return package ? text.replace("Sonoma"_L1, "Ventura"_L1)
                           : text.replace("disk7"_L1, "disk8"_L1);
        };
        return {run.exitStatus, here(run.streamText(false)), here(run.streamText(true))};
    }
    static qsizetype diskCount(const QString &root) { return World(root).disks().size(); }
    static bool touch(const QString &path) { return QFile(path).open(QIODevice::WriteOnly); }
    static Result hdiutil(const QString &root, const QStringList &args)
    {
        return runWorldTool(root, "/usr/bin/hdiutil", args);
    }

    static bool isEmptyFolder(const QString &path)
    {
        return QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    // The file's first `size` bytes: images are many gigabytes on paper.
    static QByteArray readFile(const QString &path, qint64 size = 64 * 1024)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(size) : QByteArray();
    }
    // The volume of the disk attached last, as disks.json has it.
    static QJsonObject lastVolume(const QString &root)
    {
        return World(root).disks().last()[u"Partitions"][0].toObject();
    }

    // Full size on paper, next to nothing on disk.
    static bool isSparseImage(const QString &path)
    {
        struct stat status {};
        return QFileInfo(path).size() == 14921LL * 1048576 &&
               ::stat(QFile::encodeName(path).constData(), &status) == 0 &&
               qint64(status.st_blocks) * 512 < 1024 * 1024;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
    }

    // The ISO steps as the application takes them; failures leave no file behind and detach
    // deletes only the folders right under Volumes.
    void imageLifecycle()
    {
        const QString root = newWorld();
        const QString stage = root + "/tmp/stage"_L1;
        const QString image = root + "/tmp/Install macOS Sonoma.dmg"_L1;
        QVERIFY(QDir().mkpath(stage));
        const QStringList create{
            "create", "-size", "14921m",     "-volname", "Install macOS Sonoma",
            "-fs",    "HFS+J", "-srcfolder", stage,      "-format",
            "UDRW",   image};
        const auto [created, out, err] = hdiutil(root, create);
        QCOMPARE(Result(created, {}, err), Result(0, {}, {}));
        QVERIFY(out.startsWith(u'.'));
        QCOMPARE(out, QString(out.indexOf(u'\n'), u'.') + "\ncreated: "_L1 + image + u'\n');
        QVERIFY(isSparseImage(image));
        const QString other = root + "/tmp/other.dmg"_L1;
        QCOMPARE(hdiutil(root, create), failed("create failed - File exists"));
        QCOMPARE(hdiutil(root, {"create", "-size", "900000000m", other}),
                 recorded("hdiutil", "create-no-space"));
        QCOMPARE(hdiutil(root, {"create", "-size", "10m", "-srcfolder", stage + u'2', other}),
                 failed("create failed - No such file or directory"));
        QVERIFY(isSparseImage(image) && !QFileInfo::exists(other));

        const QString mountPoint = root + "/Volumes/Install macOS Sonoma"_L1;
        const QStringList attach{"attach", image, "-noverify", "-mountpoint", mountPoint};
        QCOMPARE(hdiutil(root, attach), recorded("hdiutil", "attach-ok"));
        QVERIFY(QFileInfo(mountPoint).isDir());
        QCOMPARE(diskCount(root), 7);
        // An attached image cannot be converted.
        QCOMPARE(hdiutil(root, {"convert", image, "-format", "UDTO", "-o", other}),
                 recorded("hdiutil", "convert-attached"));
        QVERIFY(!QFileInfo::exists(other + ".cdr"_L1));
        QCOMPARE(
            hdiutil(root, {"attach", "/tmp/none.dmg", "-noverify", "-mountpoint", "/Volumes/none"}),
            recorded("hdiutil", "attach-missing"));

        const QString busy = mountPoint + "/.standin-busy"_L1;
        QVERIFY(touch(busy));
        QCOMPARE(hdiutil(root, {"detach", "/Volumes/Install macOS Sonoma"}),
                 recorded("hdiutil", "detach-busy"));
        QVERIFY(QFileInfo::exists(busy));
        // Unmounted but held: the image stays attached and cannot be converted yet.
        QVERIFY(World(root).writeState("hdiutil"_L1, {{"detach"_L1, "unmount-only"_L1}}));
        QCOMPARE(hdiutil(root, {"detach", mountPoint, "-force"}),
                 recorded("hdiutil", "detach-half"));
        QVERIFY(!QFileInfo::exists(mountPoint));
        QCOMPARE(diskCount(root), 7);
        QCOMPARE(hdiutil(root, {"convert", image, "-format", "UDTO", "-o", other}),
                 recorded("hdiutil", "convert-attached"));
        QVERIFY(World(root).writeState("hdiutil"_L1, {}));
        QCOMPARE(hdiutil(root, {"detach", "/dev/disk8"}), Result(0, u"\"disk8\" ejected.\n"_s, {}));
        QVERIFY(isSparseImage(image));
        QCOMPARE(diskCount(root), 6);
        QCOMPARE(std::get<0>(hdiutil(root, attach)), 0);
        QCOMPARE(hdiutil(root, {"detach", mountPoint, "-force"}), recorded("hdiutil", "detach-ok"));
        QVERIFY(!QFileInfo::exists(mountPoint) && isSparseImage(image));
        QCOMPARE(diskCount(root), 6);
        const QString folder = root + "/tmp/mounted"_L1;
        QCOMPARE(std::get<0>(hdiutil(root, {"attach", image, "-mountpoint", folder})), 0);
        QVERIFY(touch(folder + "/keep"_L1));
        QCOMPARE(std::get<0>(hdiutil(root, {"detach", "disk8"})), 0);
        // The folder stays, but what was on the volume goes with the image.
        QVERIFY(QFileInfo(folder).isDir() && isEmptyFolder(folder));
        QCOMPARE(diskCount(root), 6);

        const QString base = root + "/Desktop/Install macOS Sonoma"_L1;
        const QStringList convert{"convert", image, "-format", "UDTO", "-o", base};
        const auto [converted, progress, complaint] = hdiutil(root, convert);
        QCOMPARE(Result(converted, {}, complaint), Result(0, {}, {}));
        // Line by line as recorded, but for how long it took and how many dots it drew.
        const auto shape = [](QString text) {
            static const QRegularExpression dots(u"^\\.+$"_s, QRegularExpression::MultilineOption);
            static const QRegularExpression figure(u"(Elapsed Time|Speed): [0-9.]+"_s);
            return text.replace(dots, u"."_s).replace(figure, u"\\1: N"_s);
        };
        Result conversion = recorded("hdiutil", "convert-ok");
        QCOMPARE(
            shape(progress),
            shape(std::get<1>(conversion).replace("/Users/alex/Desktop"_L1, root + "/Desktop"_L1)));
        QCOMPARE(converted, std::get<0>(conversion));
        QVERIFY(isSparseImage(base + ".cdr"_L1));
        QCOMPARE(hdiutil(root, convert), failed("convert failed - File exists"));
    }

    // What createinstallmedia wrote into an image stays with it through detach, convert and a
    // rename, shows when the converted image is attached read-only, and goes back on detach.
    void imageKeepsItsFiles()
    {
        const QString root = newWorld();
        const QString image = root + "/tmp/media.dmg"_L1;
        const QString mount = root + "/tmp/mount"_L1;
        QVERIFY(QDir().mkpath(mount));
        QCOMPARE(std::get<0>(hdiutil(root, {"create", "-size", "16g", "-volname", "media", "-fs",
                                            "HFS+J", "-format", "UDRW", image})),
                 0);
        QVERIFY(readFile(image).startsWith("tessaline-standin image "));
        QCOMPARE(std::get<0>(hdiutil(root, {"attach", image, "-nobrowse", "-mountpoint", mount})),
                 0);
        QVERIFY(isEmptyFolder(mount));
        const QString app = u"/Applications/Install macOS Sequoia.app"_s;
        const ToolResult made =
            runWorldTool(root, qPrintable(app + "/Contents/Resources/createinstallmedia"_L1),
                         {"--volume", mount, "--nointeraction"}, root);
        QCOMPARE(std::get<0>(made), 0);
        // Detached from where the erase mounted it anew.
        QCOMPARE(std::get<0>(hdiutil(root, {"detach", "disk8"})), 0);
        QVERIFY(!QFileInfo::exists(root + "/Volumes/Install macOS Sequoia"_L1));
        QVERIFY(isEmptyFolder(mount));

        const QString base = root + "/Desktop/media"_L1;
        QCOMPARE(std::get<0>(hdiutil(root, {"convert", image, "-format", "UDTO", "-o", base})), 0);
        const QString iso = base + ".iso"_L1;
        QVERIFY(QFile::rename(base + ".cdr"_L1, iso));
        QVERIFY(readFile(iso, 60) != readFile(image, 60));
        const QString check = root + "/tmp/check"_L1;
        QVERIFY(QDir().mkpath(check));
        QCOMPARE(std::get<0>(hdiutil(
                     root, {"attach", iso, "-readonly", "-nobrowse", "-mountpoint", check})),
                 0);
        const QString copy = check + "/Install macOS Sequoia.app"_L1;
        QCOMPARE(readFile(copy + "/Contents/Info.plist"_L1),
                 readFile(root + app + "/Contents/Info.plist"_L1));
        QCOMPARE(QFileInfo(copy + "/Contents/SharedSupport/SharedSupport.dmg"_L1).size(),
                 QFileInfo(root + app + "/Contents/SharedSupport/SharedSupport.dmg"_L1).size());
        QCOMPARE(lastVolume(root)[u"VolumeName"].toString(), u"media"_s);
        QCOMPARE(lastVolume(root)[u"Info"][u"WritableVolume"].toBool(), false);
        QCOMPARE(std::get<0>(hdiutil(root, {"detach", check})), 0);
        QVERIFY(isEmptyFolder(check));

        // Both images hold the installer now; the converted one is writable when not told
        // otherwise.
        for (const QString &attached : {iso, image}) {
            QCOMPARE(std::get<0>(hdiutil(root, {"attach", attached, "-mountpoint", check})), 0);
            QVERIFY(QFileInfo::exists(copy + "/Contents/PkgInfo"_L1));
            QCOMPARE(lastVolume(root)[u"Info"][u"WritableVolume"].toBool(), true);
            QCOMPARE(std::get<0>(hdiutil(root, {"detach", "disk8"})), 0);
        }
    }

    // Refused, it adds nothing; as the administrator, one installer that can make media.
    void installerInstallsThePackage()
    {
        const QString root = newWorld();
        const QDir applications(root + "/Applications"_L1);
        const auto install = [&](const QString &package, const QString &admin) {
            return runWorldTool(root, "/usr/sbin/installer",
                                {"-pkg", package, "-target", "/Applications"}, admin);
        };
        const QString package = root + "/Downloads/InstallAssistant.pkg"_L1;
        const QString invalid = u"installer: Error - the package path specified was invalid: "_s;
        QCOMPARE(install(package, {}),
                 Result(1, {}, u"installer: Must be run as root to install this package.\n"_s));
        QCOMPARE(install(u"/private/tmp/none.pkg"_s, root), recorded("installer", "bad-path"));
        QCOMPARE(install(root + "/etc/computer-name"_L1, root),
                 Result(1, {}, invalid + u'\'' + root + "/etc/computer-name'.\n"_L1));
        const auto count = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(applications.entryList(count).size(), 4);

        // A half-made bundle in the way makes the install fail, in the tool's words.
        const QString partial = applications.filePath(u".Install macOS Ventura.app.partial"_s);
        QVERIFY(touch(partial));
        QCOMPARE(install(package, root), recorded("installer", "failed"));
        QVERIFY(QFile::remove(partial));
        QCOMPARE(applications.entryList(count).size(), 4);
        QCOMPARE(install(package, root), recorded("installer", "ok"));
        QCOMPARE(applications.entryList(count).size(), 5);
        QCOMPARE(QFileInfo(applications.filePath(u"Install macOS Ventura.app/Contents/Resources/"
                                                 "createinstallmedia"_s))
                     .canonicalFilePath(),
                 standinProgram());
        // Over the installer it put there, the same package upgrades it, as the transcript says.
        QCOMPARE(install(package, root), recorded("installer", "upgrade-ok"));
        QCOMPARE(applications.entryList(count).size(), 5);
    }
};

QTEST_GUILESS_MAIN(TestStandinHdiutilInstaller)
#include "tst_standin_hdiutil_installer.moc"
