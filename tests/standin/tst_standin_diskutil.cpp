// Runs the stand-in's diskutil and csrutil through a world's own links and holds their answers to
// the real tools': the property lists the fixtures record and each failure's wording.
#include "World.h"
#include "standin/StandInTools.h"
#include "support/StandInWorld.h"
#include "support/Transcript.h"

#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

using Result = ToolResult;

class TestStandinDiskutil : public QObject {
    Q_OBJECT

private:
    struct Answer {
        const char *tool;
        QStringList args;
        Result expected;
        World::Protection protection = World::Protection::Enabled;
        const char *ejected = "";        // the whole disk that goes
        const char *fixture = nullptr;   // what diskutil info answers on the fixture's Mac
        const char *worldDisk = nullptr; // the fixture's disk as the world numbers it
    };
    static constexpr const char *diskutil = "/usr/sbin/diskutil";
    static constexpr const char *csrutil = "/usr/bin/csrutil";

    std::unique_ptr<StandInWorld> m_world;
    QString m_root;

    static QByteArray fixture(const QString &name)
    {
        QFile file(QStringLiteral(TESSALINE_FIXTURES "/diskutil/") + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    // The stick holds a file, and something keeps it busy.
    void initTestCase()
    {
        QVERIFY2(QFileInfo(standinProgram()).isExecutable(), "TESSALINE_STANDIN is not set");
        m_world = std::make_unique<StandInWorld>(StandInWorld::asMade());
        m_root = m_world->canonicalRoot();
        QVERIFY(!m_root.isEmpty());
        for (const char *name : {"notes.txt", ".standin-busy"}) {
            QFile file(m_root + "/Volumes/UNTITLED/"_L1 + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    // The fixture's disks come first, exactly as listed there, and no bookkeeping leaks out.
    void listPlist()
    {
        const auto [exitCode, out, err] = runWorldTool(m_root, diskutil, {"list", "-plist"});
        QCOMPARE(exitCode, 0);
        QVERIFY(!out.contains("<key>Info</key>"_L1) && !out.contains("Standin"_L1));
        const QByteArray real = fixture(u"list.plist"_s);
        const QVariantMap realList = readPropertyListDictionary(real).value_or(QVariantMap());
        const auto asLongAsTheFixture = [&](QVariantMap &list) {
            for (auto it = realList.begin(); it != realList.end(); ++it) {
                const auto array = list.find(it.key());
                if (array != list.end() && array->typeId() == QMetaType::QVariantList)
                    *array = array->toList().mid(0, it->toList().size());
            }
        };
        QCOMPARE(plistAsXml(out.toUtf8(), asLongAsTheFixture), plistAsXml(real));
    }

    // info as the fixtures record it ("@" is the world's folder), failures in the real tools'
    // words leaving the disks as they were, an eject sparing the payload, protection statuses.
    void answers_data()
    {
        QTest::addColumn<Answer>("answer");
        const auto row =
            [](const char *name, const char *tool, const QStringList &args, const QString &out,
               const QString &err = {}, World::Protection protection = World::Protection::Enabled,
               const char *ejected = "") {
                QTest::newRow(name)
                    << Answer{tool, args, {err.isEmpty() ? 0 : 1, out, err}, protection, ejected};
            };
        const auto info = [](const char *name, const char *argument, const char *fixture,
                             const char *worldDisk = "disk4") {
            Answer answer{diskutil, {"info", "-plist", argument}, {0, {}, {}}};
            answer.fixture = fixture;
            answer.worldDisk = worldDisk;
            QTest::newRow(name) << answer;
        };
        const char *volume = "info-disk4s2-usb-volume.plist";
        info("whole disk", "disk4", "info-disk4-usb-stick.plist");
        info("file on the volume", "@/Volumes/UNTITLED/notes.txt", volume);
        info("internal disk", "disk0", "info-disk0-internal.plist", "disk0");
        info("USB SSD", "disk7", "info-disk5-usb-ssd.plist", "disk7");
        info("SD card, raw node", "/dev/rdisk6", "info-disk6-sd-card.plist", "disk6");
        const QString notEjectable = u"Eject of %1 failed: the disk is not ejectable\n"_s;
        // Asked for a property list, diskutil says even this in one, on standard output.
        const auto recorded = [](const char *name, const QStringList &args, const char *transcript,
                                 const QString &argument) {
            const Transcript run = Transcript::read("diskutil", transcript);
            const QString out = run.streamText(false).replace("/Volumes/Nothing"_L1, argument);
            QTest::newRow(name) << Answer{
                diskutil, args, {run.exitStatus, out, run.streamText(true)}};
        };
        recorded("info, unknown path", {"info", "-plist", "/Volumes/Nothing"}, "info-unknown-path",
                 "/Volumes/Nothing");
        recorded("info, unknown disk", {"info", "-plist", "disk99"}, "info-unknown-path", "disk99");
        row("eject, unknown disk", diskutil, {"eject", "disk99"}, {},
            u"Unable to find disk for disk99\n"_s);
        row("eject, internal disk", diskutil, {"eject", "disk0"}, {}, notEjectable.arg("disk0"));
        row("eject, system volume", diskutil, {"eject", "/"}, {}, notEjectable.arg("/"));
        const Transcript busy = Transcript::read("diskutil", "eject-busy");
        QTest::newRow("eject, busy")
            << Answer{diskutil, {"eject", "disk4"}, {busy.exitStatus, {}, busy.streamText(true)}};
        // Each protection state as the real csrutil reports it.
        const auto protection =
            [](const char *name, const char *transcript, World::Protection state) {
                const Transcript run = Transcript::read("csrutil", transcript);
                QTest::newRow(name)
                    << Answer{csrutil,
                              {"status"},
                              {run.exitStatus, run.streamText(false), run.streamText(true)},
                              state};
            };
        protection("protection enabled", "status-enabled", World::Protection::Enabled);
        protection("protection disabled", "status-disabled", World::Protection::Disabled);
        protection("protection custom", "status-custom", World::Protection::Custom);
        protection("protection custom, Catalina on", "status-custom-unknown",
                   World::Protection::CustomUnknown);
        row("eject", diskutil, {"eject", "disk5"}, u"Disk disk5 ejected\n"_s, {},
            World::Protection::Enabled, "disk5");
    }

    void answers()
    {
        QFETCH(Answer, answer);
        QVERIFY(World(m_root).setProtection(answer.protection));
        QJsonArray disks;
        for (const QJsonValue &disk : World(m_root).disks())
            if (disk[u"DeviceIdentifier"] != QLatin1String(answer.ejected))
                disks << disk;
        const Result result =
            runWorldTool(m_root, answer.tool, answer.args.replaceInStrings(u"@"_s, m_root));
        if (answer.fixture) {
            const auto [exitCode, out, err] = result;
            QCOMPARE(Result(exitCode, {}, err), answer.expected);
            const QByteArray real = fixture(QString::fromUtf8(answer.fixture));
            // Recorded without IOKitSize; every other answer has it.
            const auto asRecorded = [&](QVariantMap &info) {
                if (!real.contains("IOKitSize"))
                    info.remove(u"IOKitSize"_s);
            };
            const QByteArray fixtureDisk =
                QRegularExpression(u"disk[0-9]+"_s).match(answer.fixture).captured().toUtf8();
            QCOMPARE(plistAsXml(out.toUtf8(), asRecorded),
                     plistAsXml(real).replace(fixtureDisk, answer.worldDisk));
        } else {
            QCOMPARE(result, answer.expected);
        }
        QCOMPARE(World(m_root).disks(), disks);
        QCOMPARE(QFileInfo::exists(m_root + "/Volumes/Shared Support"_L1), !*answer.ejected);
        QVERIFY(QFileInfo::exists(m_root + "/Applications/Install macOS Sequoia.app/Contents/"
                                           "SharedSupport/SharedSupport.dmg"_L1));
    }
};

QTEST_GUILESS_MAIN(TestStandinDiskutil)
#include "tst_standin_diskutil.moc"
