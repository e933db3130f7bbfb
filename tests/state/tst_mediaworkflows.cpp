// The media workflows end to end on a stand-in Mac, driven through AppState as the window
// drives it: confirmations are answered by calling the alert buttons' actions.

#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

void writeState(const StandInWorld &world, const QString &file, const QJsonObject &changes)
{
    QFile state(world.path(QStringLiteral("var/standin/") + file));
    QVERIFY(state.open(QIODevice::ReadOnly));
    QJsonObject object = QJsonDocument::fromJson(state.readAll()).object();
    state.close();
    for (auto it = changes.begin(); it != changes.end(); ++it)
        object.insert(it.key(), it.value());
    QVERIFY(state.open(QIODevice::WriteOnly | QIODevice::Truncate));
    state.write(QJsonDocument(object).toJson());
}

// A state with the world's installers and disks loaded, the given installer and the USB stick
// selected, and no stray volume left to eject on its own.
struct Session {
    StandInWorld &world;
    AppState state;
    QList<double> shownPercentages;

    explicit Session(StandInWorld &w,
                     const QString &installerName = QStringLiteral("Install macOS Sequoia"))
        : world(w)
    {
        QObject::connect(&state, &AppState::changed, [this] {
            const double shown = state.progressInfo().percentage;
            if (shownPercentages.isEmpty() || shownPercentages.last() != shown)
                shownPercentages << shown;
        });
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning() && !state.installers().isEmpty());
        state.refreshDiskList();
        QTRY_VERIFY(!state.isLoadingDisks() && !state.availableDisks().isEmpty());
        for (const InstallerApp &installer : state.installers())
            if (installer.name == installerName)
                state.selectedInstaller = installer;
        for (const DiskInfo &disk : state.availableDisks())
            if (disk.deviceIdentifier == QLatin1String("disk4s2"))
                state.selectedDisk = disk;
        state.progressInfo = ProgressInfo(); // the scan's finished record is not the run's
        shownPercentages.clear();
    }

    void pressPrimary()
    {
        QVERIFY(state.isShowingAlert());
        state.isShowingAlert = false;
        state.alertPrimaryButton().action();
    }
    bool movedForwardOnly() const
    {
        return std::is_sorted(shownPercentages.begin(), shownPercentages.end());
    }
};

QStringList desktopFiles(const StandInWorld &world)
{
    return QDir(world.path(QStringLiteral("Desktop"))).entryList(QDir::Files);
}

} // namespace

class MediaWorkflowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The stand-in tools print their progress without pauses, and nothing runs in here.
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        QVERIFY(m_workingFolder.isValid());
        QDir::setCurrent(m_workingFolder.path());
    }
    void init() { Timing::setCurrent(quickTiming()); }
    void cleanup()
    {
        QVERIFY(!QFileInfo::exists(m_workingFolder.filePath(QStringLiteral("canary"))));
    }

    void usbWithTheSystemPrompt()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        writeState(world, QStringLiteral("protection.json"), {{"status", "disabled"}});
        Session session(world);
        session.state.createBootableUSB();
        QCOMPARE(session.state.alertTitle(), QStringLiteral("Warning"));
        QCOMPARE(session.state.alertMessage(),
                 QStringLiteral("This will erase all data on 'UNTITLED' (disk4s2). Are you sure "
                                "you want to continue?"));
        QCOMPARE(session.state.alertPrimaryButton().style, AlertButton::Style::destructive);
        session.pressPrimary();
        QTRY_VERIFY(session.state.isCreatingMedia());
        QTRY_VERIFY_WITH_TIMEOUT(!session.state.isCreatingMedia(), 20000);

        const ProgressInfo &progress = session.state.progressInfo();
        QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(progress.message)));
        QCOMPARE(progress.message, QStringLiteral("Bootable USB creation successful!"));
        QVERIFY(!session.state.isSIPEnabled());
        QVERIFY(session.movedForwardOnly());
        const QString volume = world.path(QStringLiteral("Volumes/Install macOS Sequoia"));
        QVERIFY(QFileInfo(volume).isDir());
        QTRY_VERIFY(QFileInfo::exists(volume + QStringLiteral("/.VolumeIcon.icns")));
        QVERIFY(!QFileInfo::exists(world.path(QStringLiteral("Volumes/Shared Support"))));
        QTRY_VERIFY(std::any_of(session.state.availableDisks().begin(),
                                session.state.availableDisks().end(), [](const DiskInfo &disk) {
                                    return disk.volumeName ==
                                           QLatin1String("Install macOS Sequoia");
                                }));
    }

    void usbRefusedAtThePrompt()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        writeState(world, QStringLiteral("protection.json"), {{"status", "disabled"}});
        writeState(world, QStringLiteral("admin.json"), {{"prompt", "cancel"}});
        Session session(world);
        session.state.createBootableUSB();
        session.pressPrimary();
        QTRY_VERIFY(session.state.progressInfo().isComplete);
        QCOMPARE(session.state.progressInfo().message, QStringLiteral("USB creation failed"));
        QCOMPARE(session.state.progressInfo().errorMessage,
                 std::optional<QString>("Admin privileges required but not granted"));
        QTRY_VERIFY(!session.state.isCreatingMedia());
        QVERIFY(QFileInfo(world.path(QStringLiteral("Volumes/UNTITLED"))).isDir());
    }

    void usbThroughTheTerminal()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        Session session(world);
        session.state.createBootableUSB();
        session.pressPrimary();
        QTRY_VERIFY(session.state.isWaitingForPassword());
        QVERIFY(session.state.isSIPEnabled());
        QVERIFY(session.state.isShowingTerminalOverlay());
        const QString command =
            QStringLiteral("sudo \"%1/Applications/Install macOS Sequoia.app/Contents/Resources/"
                           "createinstallmedia\" --volume \"%1/Volumes/UNTITLED\" --nointeraction")
                .arg(world.root());
        QCOMPARE(session.state.terminalCommand(), command);
        QVERIFY(session.state.terminalOutput().contains(QStringLiteral("Command: ") + command));

        // A wrong password brings the field back; the run ends failed on its own.
        session.state.executeTerminalCommand(QStringLiteral("wrong"));
        QVERIFY(!session.state.isWaitingForPassword());
        QTRY_VERIFY(session.state.isWaitingForPassword());
        QTRY_VERIFY(session.state.progressInfo().isComplete);
        QVERIFY(session.state.terminalOutput().contains(
            QStringLiteral("\nPassword incorrect. Please try again.\n")));
        QCOMPARE(session.state.progressInfo().errorMessage,
                 std::optional<QString>("Process exited with code 1"));
        QVERIFY(!session.state.terminalOutput().contains(QStringLiteral("wrong")));

        session.shownPercentages.clear();
        session.state.executeTerminalCommand(QStringLiteral("tessaline"));
        // The output's last line completes the record before the command's status arrives, and
        // the failed first try already cleared isCreatingMedia: only the final message tells.
        QTRY_COMPARE_WITH_TIMEOUT(session.state.progressInfo().message,
                                  QStringLiteral("USB creation completed successfully"), 20000);
        QVERIFY(!session.state.isCreatingMedia());
        QVERIFY(session.movedForwardOnly());
        QVERIFY(QFileInfo(world.path(QStringLiteral("Volumes/Install macOS Sequoia"))).isDir());
        QVERIFY(!session.state.terminalOutput().contains(QStringLiteral("tessaline\n")));
    }

    void isoOnTheDesktop()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        Session session(world);
        session.state.createBootableDMG();
        QVERIFY(!session.state.isShowingAlert());
        QTRY_VERIFY_WITH_TIMEOUT(session.state.progressInfo().isComplete, 20000);
        const ProgressInfo &progress = session.state.progressInfo();
        QVERIFY2(progress.success, qPrintable(progress.errorMessage.value_or(progress.message)));
        QCOMPARE(progress.message, QStringLiteral("ISO creation complete!"));
        QCOMPARE(desktopFiles(world), QStringList{"Install macOS Sequoia.iso"});
        QCOMPARE(progress.outputPath,
                 world.path(QStringLiteral("Desktop/Install macOS Sequoia.iso")));
        QVERIFY(session.movedForwardOnly());
        QTRY_VERIFY(!session.state.isCreatingMedia());
    }

    // The question names the files the run replaces, and the run makes the installer it showed.
    void isoReplacesOnlyWhenAsked()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        Session session(world);
        QFile old(world.path(QStringLiteral("Desktop/Install macOS Sequoia.dmg")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        session.state.createBootableDMG();
        QCOMPARE(session.state.alertTitle(), QStringLiteral("File Already Exists"));
        QCOMPARE(session.state.alertMessage(),
                 QStringLiteral("A DMG or ISO file with the name 'Install macOS Sequoia' already "
                                "exists on your desktop. Do you want to replace it?"));
        QVERIFY(!session.state.isCreatingMedia());
        for (const InstallerApp &installer : session.state.installers())
            if (installer.name == QLatin1String("Install macOS Sonoma"))
                session.state.selectedInstaller = installer;
        session.pressPrimary();
        QTRY_VERIFY_WITH_TIMEOUT(session.state.progressInfo().isComplete, 20000);
        QVERIFY(session.state.progressInfo().success);
        QCOMPARE(desktopFiles(world), QStringList{"Install macOS Sequoia.iso"});
    }

    void isoConversionFails()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        world.replaceTool(
            QStringLiteral("usr/bin/hdiutil"),
            "if [ \"$1\" = convert ]; then echo 'hdiutil: convert failed - No space "
            "left on device' >&2; exit 1; fi\nexec \"$TESSALINE_STANDIN\" hdiutil \"$@\"");
        Session session(world);
        session.state.createBootableDMG();
        QTRY_VERIFY_WITH_TIMEOUT(session.state.progressInfo().isComplete, 20000);
        const ProgressInfo &progress = session.state.progressInfo();
        QVERIFY(!progress.success);
        QVERIFY2(progress.errorMessage->startsWith(
                     QStringLiteral("Command failed: Failed to convert DMG to ISO: ")),
                 qPrintable(*progress.errorMessage));
        QVERIFY(progress.detailMessage.contains(QStringLiteral("Install macOS Sequoia.dmg")));
        QTRY_VERIFY(!session.state.isCreatingMedia());
        QVERIFY(!session.state.successProcessed);
    }

    void packageInstalledAutomatically()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        Session session(world);
        const QStringList before = QDir(world.path(QStringLiteral("Applications"))).entryList();
        session.state.handlePKGInstaller(QUrl::fromLocalFile(packagePath(world)));
        QCOMPARE(session.state.alertTitle(), QStringLiteral("Install Package"));
        QCOMPARE(session.state.alertSecondaryButton()->label, QStringLiteral("Open in Installer"));
        session.pressPrimary();
        QVERIFY(session.state.isInstallingPKG());
        QTRY_VERIFY_WITH_TIMEOUT(!session.state.isInstallingPKG() && !session.state.isScanning(),
                                 20000);
        QCOMPARE(session.state.progressInfo().message,
                 QStringLiteral("Operation completed successfully"));
        const QStringList after = QDir(world.path(QStringLiteral("Applications"))).entryList();
        QCOMPARE(after.size(), before.size() + 1);
        QVERIFY(!before.contains(session.state.selectedInstaller()->url.fileName()));
        QVERIFY(!QFileInfo::exists(world.path(QStringLiteral("tmp/PKGInstall"))));
    }

    void packageRefusedOffersTheInstaller()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        writeState(world, QStringLiteral("admin.json"), {{"prompt", "cancel"}});
        Session session(world);
        const QString package = packagePath(world);
        session.state.installPKGAutomated(QUrl::fromLocalFile(package));
        QTRY_VERIFY(session.state.isShowingAlert());
        QCOMPARE(session.state.alertTitle(), QStringLiteral("Installation Error"));
        QVERIFY(session.state.progressInfo().errorMessage->startsWith(
            QStringLiteral("Installation failed: ")));
        QVERIFY(!session.state.isInstallingPKG());
        session.pressPrimary();
        QTRY_COMPARE(session.state.alertTitle(), QStringLiteral("Installing Package"));
        QFile log(world.path(QStringLiteral("var/standin/open.log")));
        QTRY_VERIFY(log.exists());
        QVERIFY(log.open(QIODevice::ReadOnly));
        // The user's own file, not the temporary copy.
        QVERIFY(log.readAll().contains(package.toUtf8()));
    }

    void hostileInstallerName()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        writeState(world, QStringLiteral("protection.json"), {{"status", "disabled"}});
        const QString hostile =
            QStringLiteral("Install macOS it's \"new\" $(touch canary) `touch canary`.app");
        const QString applications = world.path(QStringLiteral("Applications"));
        QVERIFY(QProcess::execute(QStringLiteral("cp"),
                                  {QStringLiteral("-a"),
                                   applications + QStringLiteral("/Install macOS Sequoia.app"),
                                   applications + u'/' + hostile}) == 0);
        QVERIFY(
            QDir(applications + QStringLiteral("/Install macOS Sequoia.app")).removeRecursively());
        Session session(world);
        QCOMPARE(session.state.selectedInstaller()->url.fileName(), hostile);
        session.state.createBootableUSB();
        session.pressPrimary();
        QTRY_VERIFY_WITH_TIMEOUT(session.state.progressInfo().isComplete, 20000);
        QVERIFY2(session.state.progressInfo().success,
                 qPrintable(session.state.progressInfo().errorMessage.value_or(QString())));
        QTRY_VERIFY(!session.state.isCreatingMedia());
        // The image would mount where the new USB volume of the same name is.
        QCOMPARE(QProcess::execute(world.path(QStringLiteral("usr/sbin/diskutil")),
                                   {QStringLiteral("eject"), QStringLiteral("disk4")}),
                 0);
        session.state.createBootableDMG();
        QTRY_VERIFY_WITH_TIMEOUT(session.state.progressInfo().isComplete, 20000);
        QVERIFY2(session.state.progressInfo().success,
                 qPrintable(session.state.progressInfo().errorMessage.value_or(QString())));
    }

private:
    static QString packagePath(const StandInWorld &world)
    {
        return world.path(QStringLiteral("Downloads/InstallAssistant.pkg"));
    }

    QTemporaryDir m_workingFolder;
};

QTEST_MAIN(MediaWorkflowsTest)
#include "tst_mediaworkflows.moc"
