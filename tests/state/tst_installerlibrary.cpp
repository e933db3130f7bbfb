#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <QtTest>

using namespace std::chrono_literals;

namespace {

// Answers the file dialog with a fixed choice.
class FixedPicker : public InstallerFilePicker {
public:
    std::optional<QUrl> choice;
    std::optional<QUrl> pickInstallerOrPackage() override { return choice; }
};

QStringList names(const QList<InstallerApp> &installers)
{
    QStringList result;
    for (const InstallerApp &installer : installers)
        result << installer.name;
    return result;
}

void copyBundle(const QString &from, const QString &to)
{
    QDir().mkpath(to + "/Contents");
    QFile::copy(from + "/Contents/Info.plist", to + "/Contents/Info.plist");
}

void scanAndWait(AppState &state)
{
    state.scanForInstallers();
    QVERIFY(state.isScanning());
    QTRY_VERIFY(!state.isScanning());
}

} // namespace

class InstallerLibraryTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        Timing timing = quickTiming();
        timing.scanFailureDelay = 50ms; // long enough to see the failed scan still running
        Timing::setCurrent(timing);
    }

    // A new alert drops the previous one's second button.
    void alertReplacesTheOneShowing()
    {
        StandInWorld world;
        AppState state;
        state.alertSecondaryButton = AlertButton::cancelButton();
        state.isShowingAlert = true;
        state.showError("Disk Error", "Failed");
        QCOMPARE(state.alertTitle() + '|' + state.alertMessage(), "Disk Error|Failed");
        QCOMPARE(state.alertPrimaryButton().label, "OK");
        QVERIFY(!state.alertSecondaryButton() && state.isShowingAlert());
    }

    void sortIsNewestFirstAndStable()
    {
        auto make = [](const QString &name, QList<qint64> key, const QString &path) {
            InstallerApp app;
            app.name = name;
            app.sortableVersion = key;
            app.url = QUrl::fromLocalFile(path);
            return app;
        };
        const QList<InstallerApp> sorted = AppState::sortInstallers(
            {make("B", {14, 0, 0, 0}, "/1"), make("A", {15, 0, 0, 0}, "/2"),
             make("C", {14, 0, 0, 0}, "/3"), make("B", {14, 0, 0, 0}, "/4")});
        QCOMPARE(names(sorted), (QStringList{"A", "C", "B", "B"}));
        QCOMPARE(sorted[2].url.path() + sorted[3].url.path(), "/1/4");
    }

    void scanFillsSelectsAndKeepsOnFailure()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        const QString applications = world.path("Applications");
        // Matches the pattern but is no bundle; and a real bundle the pattern never looks at.
        QDir().mkpath(applications + "/Install macOS Broken.app");
        copyBundle(applications + "/Install macOS Sonoma.app",
                   applications + "/macOS Sonoma Installer.app");
        AppState state;
        scanAndWait(state);
        QCOMPARE(names(state.installers()),
                 (QStringList{"Install macOS Sequoia", "Install macOS Sonoma",
                              "Install macOS Mojave", "Install OS X El Capitan"}));
        // Selected once its signature has been checked.
        QTRY_VERIFY(state.selectedInstaller());
        QCOMPARE(state.selectedInstaller()->name, "Install macOS Sequoia");
        QCOMPARE(state.progressInfo().percentage, 100.0);
        QCOMPARE(state.progressInfo().message, "Scan completed");
        QCOMPARE(state.progressInfo().detailMessage, "Found 4 macOS installers");
        QTRY_COMPARE(state.windowTitle(), "macOS Sequoia");
        // A later scan keeps the selection, even of an installer that is gone.
        InstallerApp gone = *state.selectedInstaller();
        gone.url = QUrl::fromLocalFile("/nowhere/Install macOS Gone.app");
        state.selectedInstaller = gone;
        scanAndWait(state);
        QCOMPARE(state.selectedInstaller()->url, gone.url);
        // A scan that cannot read the folder fails, still scanning a moment, and keeps the list.
        const QList<InstallerApp> before = state.installers();
        QVERIFY(QDir(world.path("Applications")).removeRecursively());
        state.scanForInstallers();
        QTRY_VERIFY(state.progressInfo().isComplete);
        QVERIFY(!state.progressInfo().success && state.isScanning());
        QVERIFY(state.progressInfo().message.startsWith(
            "Operation failed: Failed to scan Applications folder: "));
        QTRY_VERIFY(!state.isScanning());
        QCOMPARE(state.installers(), before);
    }

    void addingFromTheDialog()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        AppState state;
        FixedPicker picker;
        state.setFilePicker(&picker);
        const QString sonoma = world.path("Applications/Install macOS Sonoma.app");
        picker.choice = QUrl::fromLocalFile(sonoma);
        state.addInstallerFromFinder();
        const QUuid firstId = state.selectedInstaller()->id;
        state.addInstallerFromFinder();
        QCOMPARE(state.installers().size(), 1);
        QVERIFY(state.selectedInstaller()->id != firstId);
        // Any application with a name and version is taken from the dialog.
        const QString other = world.path("Other/Some Tool.app");
        copyBundle(sonoma, other);
        picker.choice = QUrl::fromLocalFile(other);
        state.addInstallerFromFinder();
        QCOMPARE(state.installers().size(), 2);
        QCOMPARE(state.selectedInstaller()->bundlePath(), other);
        picker.choice = QUrl::fromLocalFile(world.path("Volumes"));
        state.addInstallerFromFinder();
        QVERIFY(state.isShowingAlert());
        QCOMPARE(state.alertTitle(), "Invalid Installer");
        QCOMPARE(state.installers().size(), 2);
    }

    void searchAfterAPackageFindsTheNewInstaller()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        AppState state;
        scanAndWait(state);
        const QString added = world.path("Applications/Install macOS Sequoia 2.app");
        copyBundle(world.path("Applications/Install macOS Sequoia.app"), added);
        state.findInstalledApp();
        QTRY_VERIFY(!state.isScanning());
        QCOMPARE(state.installers().size(), 5);
        QCOMPARE(state.selectedInstaller()->bundlePath(), added);
        QCOMPARE(state.progressInfo().detailMessage, "Found 1 new macOS installer(s)");
        QCOMPARE(state.progressInfo().message, "Operation completed successfully");
        const auto selected = state.selectedInstaller();
        state.findInstalledApp();
        QTRY_VERIFY(!state.isScanning());
        QCOMPARE(state.selectedInstaller()->id, selected->id);
        QCOMPARE(state.progressInfo().message, "Operation failed: Unknown error");
    }
};

QTEST_MAIN(InstallerLibraryTest)
#include "tst_installerlibrary.moc"
