// Makes a stand-in Mac with the real stand-in program and checks it looks like the Mac the
// application expects: installers that read like real ones, links that lead back to the
// program, and state files the tools can parse.
#include "World.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <plist/plist.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

namespace {

struct ProcessResult {
    int exitCode = -1;
    QString out;
    QString err;
};

ProcessResult run(const QString &program, const QStringList &args,
                  const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, args);
    if (!process.waitForFinished(10'000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The environment of a program started outside any stand-in Mac.
QProcessEnvironment plainEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("TESSALINE_HOST_ROOT"));
    return environment;
}

QString standinProgram()
{
    return QFileInfo(qEnvironmentVariable("TESSALINE_STANDIN")).canonicalFilePath();
}

struct PlistFree {
    void operator()(void *node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

PlistPtr parsePlist(const QByteArray &data)
{
    plist_t node = nullptr;
    plist_from_memory(data.constData(), static_cast<uint32_t>(data.size()), &node);
    return PlistPtr(node);
}

PlistPtr readPlist(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return parsePlist(file.readAll());
}

// One rendering for either format, so two plists compare whole.
QByteArray xmlOf(plist_t node)
{
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    const QByteArray result(xml, length);
    plist_to_xml_free(xml);
    return result;
}

void collectKeys(const QJsonValue &value, QSet<QString> &keys)
{
    if (value.isArray()) {
        for (const QJsonValue &item : value.toArray())
            collectKeys(item, keys);
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            keys.insert(it.key());
            collectKeys(it.value(), keys);
        }
    }
}

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Every partition and APFS volume, by identifier.
QHash<QString, QJsonObject> slicesById(const QJsonArray &disks)
{
    QHash<QString, QJsonObject> slices;
    for (const QJsonValue &disk : disks) {
        for (const char *kind : {"Partitions", "APFSVolumes"}) {
            for (const QJsonValue &slice : disk.toObject().value(QLatin1String(kind)).toArray())
                slices.insert(slice.toObject().value(u"DeviceIdentifier").toString(),
                              slice.toObject());
        }
    }
    return slices;
}

} // namespace

class TestStandinWorld : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_temporary;
    QString m_root;

    QString app(const QString &name) const
    {
        return m_root + QStringLiteral("/Applications/") + name + QStringLiteral(".app");
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
        QVERIFY(m_temporary.isValid());
        m_root = m_temporary.filePath(QStringLiteral("mac"));
        const ProcessResult made =
            run(standinProgram(), {QStringLiteral("make-world"), m_root}, plainEnvironment());
        QVERIFY2(made.exitCode == 0, qPrintable(made.err));
        QCOMPARE(made.out.trimmed(), QStringLiteral("Made a stand-in Mac at ") + m_root);
        m_root = QFileInfo(m_root).canonicalFilePath();
    }

    void installerInfoPlists_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("binary");
        QTest::addColumn<QString>("platformVersion");

        QTest::newRow("Sequoia") << "Install macOS Sequoia"
                                 << "install-macos-sequoia.bplist" << true << "15.1";
        QTest::newRow("Sonoma") << "Install macOS Sonoma"
                                << "install-macos-sonoma.plist" << false << "14.6";
        QTest::newRow("El Capitan") << "Install OS X El Capitan"
                                    << "install-os-x-el-capitan.plist" << false << "GM";
        QTest::newRow("Mojave") << "Install macOS Mojave"
                                << "install-macos-mojave-no-display-name.plist" << false
                                << QString();
    }

    void installerInfoPlists()
    {
        QFETCH(QString, name);
        QFETCH(QString, fixture);
        QFETCH(bool, binary);
        QFETCH(QString, platformVersion);

        QFile file(app(name) + QStringLiteral("/Contents/Info.plist"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        QCOMPARE(data.startsWith("bplist00"), binary);
        if (!binary)
            QVERIFY(data.startsWith("<?xml"));

        const PlistPtr info = parsePlist(data);
        QVERIFY(info && plist_get_node_type(info.get()) == PLIST_DICT);
        QCOMPARE(plist_dict_get_item(info.get(), "DTPlatformVersion") != nullptr,
                 !platformVersion.isEmpty());

        // Apart from what the world leaves out on purpose, it is the real installer's: Sequoia's
        // DTPlatformVersion is "15.1", El Capitan's "GM" with an icon file ending in ".icns",
        // Mojave's lacks CFBundleDisplayName.
        const PlistPtr real =
            readPlist(QStringLiteral(TESSALINE_FIXTURES "/info-plist/") + fixture);
        QVERIFY(real);
        if (platformVersion.isEmpty())
            plist_dict_remove_item(real.get(), "DTPlatformVersion");
        QCOMPARE(xmlOf(info.get()), xmlOf(real.get()));

        QFile pkgInfo(app(name) + QStringLiteral("/Contents/PkgInfo"));
        QVERIFY(pkgInfo.open(QIODevice::ReadOnly));
        QCOMPARE(pkgInfo.readAll(), QByteArray("APPL????"));
    }

    void installerFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("hasIcon");
        QTest::addColumn<qint64>("payloadSize");

        QTest::newRow("Sequoia") << "Install macOS Sequoia" << true << qint64(13'904'396'288);
        QTest::newRow("Sonoma") << "Install macOS Sonoma" << false << qint64(13'318'864'896);
        QTest::newRow("El Capitan") << "Install OS X El Capitan" << true << qint64(6'201'073'664);
        QTest::newRow("Mojave") << "Install macOS Mojave" << true << qint64(6'037'147'648);
    }

    void installerFiles()
    {
        QFETCH(QString, name);
        QFETCH(bool, hasIcon);
        QFETCH(qint64, payloadSize);
        const QString contents = app(name) + QStringLiteral("/Contents");

        const QString icon = contents + QStringLiteral("/Resources/InstallAssistant.icns");
        QCOMPARE(QFileInfo::exists(icon), hasIcon);
        if (hasIcon) {
            const QImage image(icon);
            QVERIFY2(!image.isNull(), qPrintable(icon));
            QVERIFY(image.width() >= 128);
        }

        const QFileInfo createinstallmedia(contents +
                                           QStringLiteral("/Resources/createinstallmedia"));
        QVERIFY(createinstallmedia.isSymLink());
        QCOMPARE(createinstallmedia.canonicalFilePath(), standinProgram());

        // Full size on paper, next to nothing on disk.
        const QString payload = contents + QStringLiteral("/SharedSupport/SharedSupport.dmg");
        QCOMPARE(QFileInfo(payload).size(), payloadSize);
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(payload).constData(), &status), 0);
        QVERIFY(qint64(status.st_blocks) * 512 < 1024 * 1024);
    }

    void toolLinks()
    {
        for (const char *tool :
             {"usr/sbin/diskutil", "usr/bin/hdiutil", "usr/bin/csrutil", "usr/sbin/installer",
              "usr/bin/open", "usr/bin/osascript", "usr/bin/sudo"}) {
            const QFileInfo link(m_root + u'/' + QLatin1String(tool));
            QVERIFY2(link.isSymLink(), tool);
            QCOMPARE(link.canonicalFilePath(), standinProgram());
        }
    }

    void foldersAndVolumes()
    {
        const QDir root(m_root);
        QVERIFY(root.exists(QStringLiteral("tmp")) && root.exists(QStringLiteral("Desktop")) &&
                root.exists(QStringLiteral("Downloads")));
        QVERIFY(QDir(root.filePath(QStringLiteral("Volumes/UNTITLED"))).isEmpty());
        QVERIFY(!QDir(root.filePath(QStringLiteral("Volumes/Shared Support"))).isEmpty());
        QCOMPARE(QDir(root.filePath(QStringLiteral("Volumes")))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"Backup", "SDCARD", "Shared Support", "UNTITLED"}));

        QFile name(root.filePath(QStringLiteral("etc/computer-name")));
        QVERIFY(name.open(QIODevice::ReadOnly));
        QVERIFY(!name.readLine().trimmed().isEmpty());
    }

    void disksState()
    {
        const QJsonObject state = readJson(m_root + QStringLiteral("/var/standin/disks.json"));
        const QJsonArray disks = state.value(u"disks").toArray();
        QStringList wholeDisks;
        for (const QJsonValue &disk : disks)
            wholeDisks << disk.toObject().value(u"DeviceIdentifier").toString();
        QCOMPARE(wholeDisks, QStringList({"disk0", "disk3", "disk4", "disk5", "disk6", "disk7"}));

        QCOMPARE(disks.at(0).toObject().value(u"Info").toObject().value(u"Internal"), true);

        const QJsonObject stick = disks.at(2).toObject();
        const QJsonObject stickInfo = stick.value(u"Info").toObject();
        QCOMPARE(stickInfo.value(u"BusProtocol").toString(), QStringLiteral("USB"));
        QCOMPARE(stickInfo.value(u"Internal").toBool(), false);
        QCOMPARE(stickInfo.value(u"Removable").toBool(), true);
        QCOMPARE(stickInfo.value(u"RemovableMedia").toBool(), true);
        QVERIFY(stick.value(u"Size").toDouble() > 30e9);

        const QJsonObject image = disks.at(3).toObject();
        QCOMPARE(image.value(u"Info").toObject().value(u"BusProtocol").toString(),
                 QStringLiteral("Disk Image"));
        const QString imagePath = image.value(u"Standin").toObject().value(u"ImagePath").toString();
        QVERIFY2(QFileInfo(m_root + imagePath).isFile(), qPrintable(imagePath));

        // An SD card in the built-in reader, and an external disk whose media is fixed.
        const QJsonObject cardInfo = disks.at(4).toObject().value(u"Info").toObject();
        QCOMPARE(cardInfo.value(u"BusProtocol").toString(), QStringLiteral("Secure Digital"));
        QCOMPARE(cardInfo.value(u"RemovableMedia").toBool(), true);
        const QJsonObject ssdInfo = disks.at(5).toObject().value(u"Info").toObject();
        QCOMPARE(ssdInfo.value(u"BusProtocol").toString(), QStringLiteral("USB"));
        QCOMPARE(ssdInfo.value(u"Internal").toBool(), false);
        QCOMPARE(ssdInfo.value(u"RemovableMedia").toBool(), false);
        QCOMPARE(ssdInfo.value(u"Removable").toBool(), false);

        const QHash<QString, QJsonObject> slices = slicesById(disks);
        QVERIFY(!slices.value(QStringLiteral("disk4s1")).contains(u"MountPoint"));
        QCOMPARE(slices.value(QStringLiteral("disk4s2")).value(u"MountPoint"), "/Volumes/UNTITLED");
        QCOMPARE(slices.value(QStringLiteral("disk5s1")).value(u"MountPoint"),
                 "/Volumes/Shared Support");
        QCOMPARE(slices.value(QStringLiteral("disk3s1")).value(u"VolumeName"), "Macintosh HD");
        QCOMPARE(slices.value(QStringLiteral("disk6s1")).value(u"MountPoint"), "/Volumes/SDCARD");
        QCOMPARE(slices.value(QStringLiteral("disk7s2")).value(u"MountPoint"), "/Volumes/Backup");

        // Mounted volumes under /Volumes are folders in the world; the system's are not there.
        for (const QJsonObject &slice : slices) {
            const QString mountPoint = slice.value(u"MountPoint").toString();
            if (mountPoint.startsWith(QLatin1String("/Volumes/")))
                QVERIFY2(QFileInfo(m_root + mountPoint).isDir(), qPrintable(mountPoint));
            else if (!mountPoint.isEmpty())
                QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/Volumes/") +
                                           slice.value(u"VolumeName").toString()));
        }
    }

    // A misspelt key would make diskutil's answers useless to the program, silently.
    void disksSpeakDiskutilsVocabulary()
    {
        QSet<QString> known{QStringLiteral("disks"), QStringLiteral("Info"),
                            QStringLiteral("Standin"), QStringLiteral("ImagePath")};
        const QDir fixtures(QStringLiteral(TESSALINE_FIXTURES "/diskutil"));
        const QRegularExpression keyPattern(QStringLiteral("<key>([^<]+)</key>"));
        for (const QString &file : fixtures.entryList({QStringLiteral("*.plist")})) {
            QFile plist(fixtures.filePath(file));
            QVERIFY(plist.open(QIODevice::ReadOnly));
            for (const auto &match : keyPattern.globalMatch(QString::fromUtf8(plist.readAll())))
                known.insert(match.captured(1));
        }
        QVERIFY(known.contains(QStringLiteral("RemovableMedia")));
        QSet<QString> used;
        collectKeys(readJson(m_root + QStringLiteral("/var/standin/disks.json")), used);
        QCOMPARE(used - known, QSet<QString>());
    }

    void protectionAndAdminState()
    {
        const QJsonObject protection =
            readJson(m_root + QStringLiteral("/var/standin/protection.json"));
        QCOMPARE(protection.value(u"status").toString(), QStringLiteral("enabled"));
        const QJsonObject admin = readJson(m_root + QStringLiteral("/var/standin/admin.json"));
        QVERIFY(!admin.value(u"password").toString().isEmpty());
        QCOMPARE(admin.value(u"prompt").toString(), QStringLiteral("grant"));
        QCOMPARE(World(m_root).adminPassword(), admin.value(u"password").toString());
    }

    void refusesNonEmptyFolder()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral(".keep")));

        const ProcessResult made = run(
            standinProgram(), {QStringLiteral("make-world"), folder.path()}, plainEnvironment());
        QVERIFY(made.exitCode != 0);
        QVERIFY2(made.err.contains(QLatin1String("not empty")), qPrintable(made.err));
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{QStringLiteral(".keep")});
    }

    // A link in the world knows its world without being told.
    void toolFindsItsWorldFromItsLink()
    {
        const ProcessResult result = run(m_root + QStringLiteral("/usr/bin/csrutil"),
                                         {QStringLiteral("status")}, plainEnvironment());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QStringLiteral("System Integrity Protection status: enabled.\n"));
    }

    // The downloaded package must bring an installer the Mac does not have yet.
    void demoPackage()
    {
        const QJsonObject manifest =
            readJson(m_root + QStringLiteral("/Downloads/InstallAssistant.pkg"));
        QCOMPARE(manifest.value(u"standinPackage").toInt(), 1);
        const QString application = manifest.value(u"application").toString();
        QCOMPARE(application, QStringLiteral("Install macOS Ventura.app"));
        QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/Applications/") + application));

        const QJsonObject info = manifest.value(u"infoPlist").toObject();
        QCOMPARE(info.value(u"CFBundleDisplayName").toString(),
                 QStringLiteral("Install macOS Ventura"));
        QCOMPARE(info.value(u"DTPlatformVersion").toString(), QStringLiteral("13.6"));
        QCOMPARE(info.value(u"DTPlatformBuild").toString(), QStringLiteral("22G120"));
        QVERIFY(manifest.value(u"sharedSupportSize").toDouble() > 1e9);
    }

    void toolOutsideAnyWorld()
    {
        const QStringList args{QStringLiteral("csrutil"), QStringLiteral("status")};
        const ProcessResult lost = run(standinProgram(), args, plainEnvironment());
        QCOMPARE(lost.exitCode, 2);
        QVERIFY2(lost.err.contains(QLatin1String("TESSALINE_HOST_ROOT")), qPrintable(lost.err));

        QProcessEnvironment environment = plainEnvironment();
        environment.insert(QStringLiteral("TESSALINE_HOST_ROOT"), m_root);
        const ProcessResult found = run(standinProgram(), args, environment);
        QCOMPARE(found.exitCode, 0);
        QVERIFY2(found.out.startsWith(QLatin1String("System Integrity Protection status:")),
                 qPrintable(found.out));

        environment.insert(QStringLiteral("TESSALINE_HOST_ROOT"), m_temporary.path());
        QCOMPARE(run(standinProgram(), args, environment).exitCode, 2);
    }

    void locatesWorldFromInvocationPath()
    {
        const QString link = m_root + QStringLiteral("/usr/sbin/diskutil");
        QCOMPARE(World::locate(link, QString(), nullptr).value().root(), m_root);
        // A world named by the environment does not beat the one the tool lies in.
        QCOMPARE(World::locate(link, m_temporary.path(), nullptr).value().root(), m_root);

        const World world(m_root);
        QCOMPARE(world.hostPath(QStringLiteral("/Volumes/UNTITLED")),
                 m_root + QStringLiteral("/Volumes/UNTITLED"));
        QCOMPARE(world.macPath(m_root + QStringLiteral("/Volumes/UNTITLED")),
                 QStringLiteral("/Volumes/UNTITLED"));
        QCOMPARE(world.macPath(m_root), QStringLiteral("/"));
    }

    // Changes go to a scratch world so the checks above see the world as made.
    void stateChangesPersist()
    {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        QVERIFY(QDir().mkpath(scratch.filePath(QStringLiteral("var/standin"))));
        const World world(scratch.path());

        QVERIFY(world.setProtection(World::Protection::Disabled));
        QCOMPARE(World(scratch.path()).protection(), World::Protection::Disabled);
        QVERIFY(world.setAdminPrompt(World::AdminPrompt::Cancel));
        QCOMPARE(world.adminPrompt(), World::AdminPrompt::Cancel);

        QVERIFY(world.updateDisks([](QJsonArray &disks) {
            disks.append(
                QJsonObject{{QStringLiteral("DeviceIdentifier"), QStringLiteral("disk6")}});
            return true;
        }));
        QCOMPARE(world.disks().size(), 1);
        // A damaged file is reported, not replaced by an empty one.
        QFile damaged(world.stateFolder() + QStringLiteral("/disks.json"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"disks\": [");
        damaged.close();
        QString error;
        QVERIFY(!world.updateDisks([](QJsonArray &) { return true; }, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        QCOMPARE(damaged.readAll(), QByteArray("{\"disks\": ["));
    }
};

QTEST_GUILESS_MAIN(TestStandinWorld)
#include "tst_standinworld.moc"
