// Makes a stand-in Mac with the real stand-in program and checks it is the Mac the application
// expects: installers that read like real ones and disks in diskutil's own words.
#include "standin/StandInTools.h"
#include "support/StandInWorld.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

class TestStandinWorld : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_temporary;
    std::optional<StandInWorld> m_world;
    QString m_root;

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QSet<QString> keysIn(const QByteArray &text, const char *pattern)
    {
        QSet<QString> keys;
        const QRegularExpression expression(QString::fromLatin1(pattern));
        for (const auto &match : expression.globalMatch(QString::fromUtf8(text)))
            keys.insert(match.captured(1));
        return keys;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
        m_world.emplace(StandInWorld::asMade());
        m_root = m_world->canonicalRoot();
        QVERIFY(!m_root.isEmpty());
    }

    // The real Info.plist (Mojave's lacks DTPlatformVersion on purpose); a sparse payload.
    void installers_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("hasIcon");
        QTest::addColumn<qint64>("payloadSize");
        const auto row = [](const char *name, const char *fixture, bool hasIcon, qint64 size) {
            QTest::newRow(name) << QString::fromUtf8(fixture) << hasIcon << size;
        };
        row("Install macOS Sequoia", "install-macos-sequoia.bplist", true, 13'904'396'288);
        row("Install macOS Sonoma", "install-macos-sonoma.plist", false, 13'318'864'896);
        row("Install OS X El Capitan", "install-os-x-el-capitan.plist", true, 6'201'073'664);
        row("Install macOS Mojave", "install-macos-mojave-no-display-name.plist", true,
            6'037'147'648);
    }

    void installers()
    {
        QFETCH(QString, fixture);
        const QString contents = m_root + "/Applications/"_L1 +
                                 QLatin1String(QTest::currentDataTag()) + ".app/Contents"_L1;
        const QString info = contents + "/Info.plist"_L1;
        QVERIFY(readFile(info).startsWith(fixture.endsWith(".bplist"_L1) ? "bplist00" : "<?xml"));
        // The world's Mojave is made without DTPlatformVersion, on purpose.
        const auto asMade = [&](QVariantMap &info) {
            if (fixture.contains("mojave"_L1))
                info.remove(u"DTPlatformVersion"_s);
        };
        const QByteArray real =
            plistAsXml(readFile(TESSALINE_FIXTURES "/info-plist/"_L1 + fixture), asMade);
        QCOMPARE(plistAsXml(readFile(info)), real);

        const QString icon = contents + "/Resources/InstallAssistant.icns"_L1;
        QTEST(QFileInfo::exists(icon), "hasIcon");
        QVERIFY(!QFileInfo::exists(icon) || QImage(icon).width() >= 128);
        const QString payload = contents + "/SharedSupport/SharedSupport.dmg"_L1;
        QTEST(QFileInfo(payload).size(), "payloadSize");
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(payload).constData(), &status), 0);
        QVERIFY(qint64(status.st_blocks) * 512 < 1024 * 1024);
    }

    // Every installer the world has or would land gets a payload of the given size; anything
    // but a size in bytes is refused before a folder is made.
    void payloadSize_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::newRow("bytes") << QStringList{"--payload-size", "4096", "--unsigned-installer"}
                               << 0;
        QTest::newRow("no size") << QStringList{"--payload-size"} << 2;
        QTest::newRow("negative") << QStringList{"--payload-size", "-1"} << 2;
        QTest::newRow("with a unit") << QStringList{"--payload-size", "4k"} << 2;
    }
    void payloadSize()
    {
        QFETCH(QStringList, options);
        const QString root = m_temporary.filePath(QLatin1String(QTest::currentDataTag()));
        QProcess maker;
        maker.start(standinProgram(), QStringList{"make-world"} + options + QStringList{root});
        QVERIFY(maker.waitForFinished(10'000));
        QTEST(maker.exitCode(), "status");
        if (maker.exitCode() != 0) {
            QVERIFY(!QFileInfo::exists(root));
            return;
        }
        const QStringList apps = QDir(root + "/Applications"_L1).entryList({u"*.app"_s});
        QCOMPARE(apps.size(), 5);
        for (const QString &app : apps)
            QCOMPARE(QFileInfo(root + "/Applications/"_L1 + app +
                               "/Contents/SharedSupport/SharedSupport.dmg"_L1)
                         .size(),
                     4096);
        QJsonArray packages{
            QJsonDocument::fromJson(readFile(root + "/Downloads/InstallAssistant.pkg"_L1))
                .object()};
        const QJsonObject catalogue =
            QJsonDocument::fromJson(readFile(root + "/var/standin/catalogue.json"_L1)).object();
        for (const QJsonValue &offer : catalogue.value(u"installers").toArray())
            packages.append(offer[u"package"]);
        QCOMPARE(packages.size(), 6);
        for (const QJsonValue &package : std::as_const(packages))
            QCOMPARE(package[u"sharedSupportSize"].toInteger(), 4096);
    }

    // A misspelt key would make diskutil's answers useless to the program, silently; each volume
    // mounted under /Volumes, and only those, is a folder there.
    void disksState()
    {
        QSet<QString> known{u"disks"_s, u"Info"_s, u"Standin"_s, u"ImagePath"_s};
        const QDir fixtures(QStringLiteral(TESSALINE_FIXTURES "/diskutil"));
        for (const QString &file : fixtures.entryList({u"*.plist"_s}))
            known += keysIn(readFile(fixtures.filePath(file)), "<key>([^<]+)</key>");
        const QByteArray disks = readFile(m_root + "/var/standin/disks.json"_L1);
        const QSet<QString> used = keysIn(disks, "\"([^\"]+)\"\\s*:");
        QVERIFY(used.contains(u"RemovableMedia"_s));
        QCOMPARE(used - known, QSet<QString>());
        QStringList mounted =
            keysIn(disks, "\"MountPoint\"\\s*:\\s*\"/Volumes/([^\"]+)\"").values();
        mounted.sort(Qt::CaseInsensitive);
        QCOMPARE(QDir(m_root + "/Volumes"_L1).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 mounted);
        QCOMPARE(mounted, QStringList({"Backup", "SDCARD", "Shared Support", "UNTITLED"}));
    }
};

QTEST_GUILESS_MAIN(TestStandinWorld)
#include "tst_standinworld.moc"
