// Checking what USB and ISO jobs wrote, on a stand-in Mac whose createinstallmedia can spoil its
// copy: good media verify, each kind of damage fails naming what differs, a cancelled check
// leaves nothing attached, and a check switched off does not run.

#include "state/AppState.h"
#include "support/MediaSession.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"
#include "support/TestSecret.h"

#include <QtTest>

namespace {

// The images the world has attached now, by their files.
QStringList attachedImages(const StandInWorld &world)
{
    QFile disks(world.path("var/standin/disks.json"));
    if (!disks.open(QIODevice::ReadOnly))
        return {};
    QStringList images;
    for (const QJsonValue &disk : QJsonDocument::fromJson(disks.readAll()).array()) {
        const QString image =
            disk.toObject().value("Standin").toObject().value("ImagePath").toString();
        if (!image.isEmpty())
            images << image;
    }
    return images;
}

const QString stick = "Volumes/Install macOS Sequoia";
const QString iso = "Desktop/Install macOS Sequoia.iso";

} // namespace

class MediaVerificationTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_workingFolder;
    std::unique_ptr<StandInWorld> m_world;
    const StandInWorld &world() const { return *m_world; }

    // Starts the job `kind` names ("usb", "usb terminal", "iso") in `session`.
    void start(MediaSession &session, const QString &kind)
    {
        if (kind == "iso") {
            session.state.createBootableDMG();
            return;
        }
        if (kind == "usb")
            world().writeState("protection.json", {{"status", "disabled"}});
        session.state.createBootableUSB();
        session.pressPrimary();
        if (kind == "usb terminal") {
            QTRY_VERIFY(session.state.isWaitingForPassword());
            session.state.executeTerminalCommand(secretOf("tessaline"));
        }
    }

private slots:
    void initTestCase()
    {
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        QVERIFY(m_workingFolder.isValid());
        QDir::setCurrent(m_workingFolder.path());
    }
    void init()
    {
        Timing::setCurrent(quickTiming());
        m_world = std::make_unique<StandInWorld>();
        QVERIFY(m_world->isValid());
    }
    void cleanup() { m_world.reset(); }

    void goodMediaVerify_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("succeeded");
        QTest::newRow("USB, the system's prompt") << "usb"
                                                  << "Bootable USB creation successful!";
        QTest::newRow("USB, the terminal") << "usb terminal"
                                           << "USB creation completed successfully";
        QTest::newRow("ISO") << "iso"
                             << "ISO creation complete!";
    }
    void goodMediaVerify()
    {
        QFETCH(QString, kind);
        QFETCH(QString, succeeded);
        MediaSession session;
        const QStringList attachedBefore = attachedImages(world());
        start(session, kind);
        QVERIFY(session.finish());
        const ProgressInfo &progress = session.state.progressInfo();
        QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(progress.message)));
        QVERIFY(progress.verified);
        QCOMPARE(progress.message, succeeded);
        QVERIFY2(progress.detailMessage.startsWith("Verified: the "),
                 qPrintable(progress.detailMessage));
        // The check is the run's last step, and the bar never went back for it.
        QCOMPARE(progress.steps.last().title, "Verifying");
        QVERIFY(progress.steps.last().isComplete);
        QVERIFY(session.movedForwardOnly());
        QCOMPARE(attachedImages(world()), attachedBefore);
        QVERIFY(QFileInfo::exists(world().path(kind == "iso" ? iso : stick)));
    }

    void damageIsNamed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("named");
        QTest::newRow("USB, a file missing") << "usb"
                                             << "missing"
                                             << "Contents/PkgInfo: missing on the media";
        QTest::newRow("USB, a file of another size")
            << "usb"
            << "size"
            << "Contents/MacOS/InstallAssistant_springboard: ";
        QTest::newRow("USB, a byte of the payload")
            << "usb"
            << "payload"
            << "Contents/SharedSupport/SharedSupport.dmg: its content differs (SHA-256 ";
        QTest::newRow("USB, a link elsewhere")
            << "usb terminal"
            << "link"
            << "Contents/Resources/createinstallmedia: a link to ";
        QTest::newRow("ISO, a byte of the payload")
            << "iso"
            << "payload"
            << "Contents/SharedSupport/SharedSupport.dmg: its content";
    }
    void damageIsNamed()
    {
        QFETCH(QString, kind);
        QFETCH(QString, damage);
        QFETCH(QString, named);
        world().writeState("createinstallmedia.json", {{"damage", damage}});
        MediaSession session;
        const QStringList attachedBefore = attachedImages(world());
        start(session, kind);
        QVERIFY(session.finish());
        const ProgressInfo &progress = session.state.progressInfo();
        QVERIFY(!progress.success && !progress.verified);
        const QString error = progress.errorMessage.value_or(QString());
        QVERIFY2(error.contains("does not match the installer, so it should not be used") &&
                     error.contains("\n" + named),
                 qPrintable(error));
        QCOMPARE(attachedImages(world()), attachedBefore);
        // A bad ISO of this job's goes; a stick stays the user's.
        if (kind == "iso") {
            QVERIFY(error.contains("The ISO was removed."));
            QVERIFY(!QFileInfo::exists(world().path(iso)));
        } else {
            QVERIFY(QFileInfo::exists(world().path(stick)));
        }
    }

    void cancelDuringTheCheck_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("USB") << "usb";
        QTest::newRow("ISO") << "iso";
    }
    void cancelDuringTheCheck()
    {
        QFETCH(QString, kind);
        // Large enough to be read for a while.
        m_world =
            std::make_unique<StandInWorld>(StandInWorld::Options{.payloadSize = 6'000'000'000});
        QVERIFY(m_world->isValid());
        MediaSession session;
        const QStringList attachedBefore = attachedImages(world());
        start(session, kind);
        const auto checking = [&session] {
            const QList<ProgressStep> &steps = session.state.progressInfo().steps;
            return !steps.isEmpty() && steps.last().title == "Verifying" &&
                   steps.last().inProgress &&
                   session.state.progressInfo().detailMessage.endsWith(" read");
        };
        QTRY_VERIFY_WITH_TIMEOUT(checking(), 20000);
        // Stopping the check loses nothing: no question is asked.
        session.state.requestCancel();
        QVERIFY(!session.state.isShowingAlert());
        QVERIFY(session.finish());
        const ProgressInfo &progress = session.state.progressInfo();
        QVERIFY(!progress.success && !progress.verified);
        QVERIFY2(
            progress.errorMessage.value_or(QString()).startsWith("Cancelled during the check."),
            qPrintable(progress.errorMessage.value_or(QString())));
        QVERIFY(session.state.jobWasCancelled());
        // The media stays as written; nothing stays attached or mounted on a folder of ours.
        QVERIFY(QFileInfo::exists(world().path(kind == "iso" ? iso : stick)));
        QCOMPARE(attachedImages(world()), attachedBefore);
        QCOMPARE(QDir(world().path("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void checkingSwitchedOff()
    {
        world().writeState("createinstallmedia.json", {{"damage", "payload"}});
        MediaSession session;
        session.state.verifiesMedia = false;
        start(session, "iso");
        QVERIFY(session.finish());
        const ProgressInfo &progress = session.state.progressInfo();
        // Not checked, so the damage goes unseen, and the run says nothing of a check.
        QVERIFY(progress.success && !progress.verified);
        QCOMPARE(progress.steps.size(), 4);
        QVERIFY(session.movedForwardOnly());
    }

    void existingMediaOnItsOwn()
    {
        MediaSession session;
        session.state.verifiesMedia = false;
        start(session, "iso");
        QVERIFY(session.finish());
        const InstallerApp installer = *session.state.selectedInstaller();
        session.state.verifyMedia(installer, AppState::Media::diskImage, world().path(iso));
        QCOMPARE(session.state.jobKind(), AppState::JobKind::verify);
        QVERIFY(session.finish());
        QVERIFY(session.state.progressInfo().success && session.state.progressInfo().verified);
        QCOMPARE(session.state.progressInfo().message, "Verified");

        // Another installer's copy is not this one's.
        for (const InstallerApp &other : session.state.installers())
            if (other.name == "Install macOS Sonoma")
                session.state.verifyMedia(other, AppState::Media::diskImage, world().path(iso));
        QVERIFY(session.finish());
        QVERIFY(!session.state.progressInfo().success);
        // Media made before is the user's: a failed check leaves it where it is.
        QVERIFY(QFileInfo::exists(world().path(iso)));
    }
};

QTEST_GUILESS_MAIN(MediaVerificationTest)
#include "tst_mediaverification.moc"
