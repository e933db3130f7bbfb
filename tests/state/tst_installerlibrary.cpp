#include "state/AppState.h"
#include "support/StandInWorld.h"

#include <QDir>
#include <QSignalSpy>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

// Answers the file dialog with a fixed choice.
class FixedPicker : public InstallerFilePicker {
public:
    std::optional<QUrl> choice;
    std::optional<QUrl> pickInstallerOrPackage() override { return choice; }
};

Timing quickTiming()
{
    Timing timing;
    timing.startupRefreshDelay = 24h; // tests start the work they look at themselves
    timing.diskReselectionDelay = 20ms;
    timing.scanFinishDelay = 50ms;
    timing.installedAppSearchPause = 10ms;
    timing.newInstallerFoundDelay = 50ms;
    timing.scanFailureDelay = 50ms;
    return timing;
}

QStringList names(const QList<InstallerApp> &installers)
{
    QStringList result;
    for (const InstallerApp &installer : installers)
        result << installer.name;
    return result;
}

void copyBundle(const QString &from, const QString &to)
{
    QDir().mkpath(to + QStringLiteral("/Contents"));
    QFile::copy(from + QStringLiteral("/Contents/Info.plist"),
                to + QStringLiteral("/Contents/Info.plist"));
}

} // namespace

class InstallerLibraryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Timing::setCurrent(quickTiming()); }

    void newStateStartsEmpty()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        AppState state;
        QVERIFY(state.installers().isEmpty() && state.availableDisks().isEmpty());
        QVERIFY(!state.selectedInstaller() && !state.selectedDisk());
        for (bool flag : {state.isScanning(), state.isLoadingDisks(), state.isCreatingMedia(),
                          state.isInstallingPKG(), state.isShowingAlert(), state.isSIPEnabled(),
                          state.isShowingTerminalOverlay(), state.isWaitingForPassword(),
                          state.successProcessed})
            QVERIFY(!flag);
        QCOMPARE(state.alertPrimaryButton().label, QStringLiteral("OK"));
        QCOMPARE(state.alertPrimaryButton().style, AlertButton::Style::defaultAction);
        QVERIFY(!state.alertSecondaryButton());
        QCOMPARE(state.progressInfo().percentage, 0.0);
        QVERIFY(state.progressInfo().steps.isEmpty());
        QCOMPARE(state.windowTitle(), QStringLiteral("Tessaline"));
    }

    void alertReplacesTheOneShowing()
    {
        StandInWorld world;
        AppState state;
        state.alertSecondaryButton = AlertButton::cancelButton();
        state.isShowingAlert = true;
        QSignalSpy changes(&state, &AppState::changed);
        state.showError(QStringLiteral("Disk Error"), QStringLiteral("Failed"));
        QCOMPARE(changes.count(), 5);
        QCOMPARE(state.alertTitle(), QStringLiteral("Disk Error"));
        QCOMPARE(state.alertMessage(), QStringLiteral("Failed"));
        QVERIFY(!state.alertSecondaryButton());
        QVERIFY(state.isShowingAlert());
    }

    void windowTitleFollowsTheSelection()
    {
        StandInWorld world;
        AppState state;
        QSignalSpy titles(&state, &AppState::windowTitleChanged);
        InstallerApp ventura;
        ventura.name = QStringLiteral("Install macOS Ventura");
        InstallerApp elCapitan;
        elCapitan.name = QStringLiteral("Install OS X El Capitan");
        state.selectedInstaller = ventura;
        QCOMPARE(state.windowTitle(), QStringLiteral("Tessaline")); // not before this turn ends
        state.selectedInstaller = elCapitan;
        QTRY_COMPARE(titles.count(), 2);
        QCOMPARE(titles.at(0).at(0).toString(), QStringLiteral("OS X El Capitan"));
        QCOMPARE(titles.at(1).at(0).toString(), QStringLiteral("OS X El Capitan"));
        state.selectedInstaller = std::nullopt;
        QTRY_COMPARE(state.windowTitle(), QStringLiteral("Tessaline"));
    }

    void macOSNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("macOS") << "Install macOS Sonoma"
                               << "macOS Sonoma";
        QTest::newRow("OS X") << "Install OS X El Capitan"
                              << "OS X El Capitan";
        QTest::newRow("bare release") << "Install Ventura"
                                      << "macOS Ventura";
        QTest::newRow("no prefix") << "Sequoia Beta"
                                   << "macOS Sequoia Beta";
        QTest::newRow("prefix is case-sensitive") << "install macOS X"
                                                  << "macOS install macOS X";
    }
    void macOSNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(AppState::extractMacOSName(name), expected);
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
        QCOMPARE(sorted[2].url.path(), QStringLiteral("/1"));
        QCOMPARE(sorted[3].url.path(), QStringLiteral("/4"));
    }

    void scanFillsAndSelects()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        const QString applications = world.path(QStringLiteral("Applications"));
        // Matches the pattern but is no bundle; and a real bundle the pattern never looks at.
        QDir().mkpath(applications + QStringLiteral("/Install macOS Broken.app"));
        copyBundle(applications + QStringLiteral("/Install macOS Sonoma.app"),
                   applications + QStringLiteral("/macOS Sonoma Installer.app"));
        AppState state;
        state.scanForInstallers();
        QVERIFY(state.isScanning());
        QTRY_VERIFY(!state.isScanning());
        QCOMPARE(names(state.installers()),
                 (QStringList{"Install macOS Sequoia", "Install macOS Sonoma",
                              "Install macOS Mojave", "Install OS X El Capitan"}));
        QCOMPARE(state.selectedInstaller()->name, QStringLiteral("Install macOS Sequoia"));
        QCOMPARE(state.progressInfo().percentage, 100.0);
        QCOMPARE(state.progressInfo().message, QStringLiteral("Scan completed"));
        QCOMPARE(state.progressInfo().detailMessage, QStringLiteral("Found 4 macOS installers"));
        QTRY_COMPARE(state.windowTitle(), QStringLiteral("macOS Sequoia"));

        // A later scan keeps the selection, even of an installer that is gone.
        InstallerApp gone = *state.selectedInstaller();
        gone.url = QUrl::fromLocalFile(QStringLiteral("/nowhere/Install macOS Gone.app"));
        state.selectedInstaller = gone;
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning());
        QCOMPARE(state.selectedInstaller()->url, gone.url);
    }

    void scanReportsEveryFifthEntry()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        const QString applications = world.path(QStringLiteral("Applications"));
        QDir(applications).removeRecursively();
        for (int index = 0; index < 12; ++index)
            QDir().mkpath(applications + QStringLiteral("/Tool %1.app").arg(index));
        AppState state;
        QList<double> examined;
        connect(&state, &AppState::changed, [&] {
            const ProgressInfo &progress = state.progressInfo();
            if (progress.detailMessage.startsWith(QStringLiteral("Examining Tool")) &&
                (examined.isEmpty() || examined.last() != progress.percentage))
                examined << progress.percentage;
        });
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning());
        QCOMPARE(examined.size(), 3);
        QCOMPARE(examined[0], 30.0);
        QVERIFY(qFuzzyCompare(examined[1], 30 + 5.0 / 12 * 50));
        QVERIFY(qFuzzyCompare(examined[2], 30 + 10.0 / 12 * 50));
        QVERIFY(state.installers().isEmpty());
        QVERIFY(!state.selectedInstaller());
        QCOMPARE(state.progressInfo().detailMessage, QStringLiteral("Found 0 macOS installers"));
    }

    void scanOfAMissingFolderFails()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        AppState state;
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning());
        const QList<InstallerApp> before = state.installers();
        QDir(world.path(QStringLiteral("Applications"))).removeRecursively();
        state.scanForInstallers();
        QTRY_VERIFY(state.progressInfo().isComplete);
        QVERIFY(!state.progressInfo().success);
        QVERIFY(state.progressInfo().message.startsWith(
            QStringLiteral("Operation failed: Failed to scan Applications folder: ")));
        QVERIFY(state.isScanning());
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
        const QString sonoma = world.path(QStringLiteral("Applications/Install macOS Sonoma.app"));
        picker.choice = QUrl::fromLocalFile(sonoma);
        state.addInstallerFromFinder();
        const QUuid firstId = state.selectedInstaller()->id;
        state.addInstallerFromFinder();
        QCOMPARE(state.installers().size(), 1);
        QVERIFY(state.selectedInstaller()->id != firstId);

        // Any application with a name and version is taken from the dialog.
        const QString other = world.path(QStringLiteral("Other/Some Tool.app"));
        copyBundle(sonoma, other);
        picker.choice = QUrl::fromLocalFile(other);
        state.addInstallerFromFinder();
        QCOMPARE(state.installers().size(), 2);
        QCOMPARE(state.selectedInstaller()->bundlePath(), other);

        picker.choice = QUrl::fromLocalFile(world.path(QStringLiteral("Volumes")));
        state.addInstallerFromFinder();
        QVERIFY(state.isShowingAlert());
        QCOMPARE(state.alertTitle(), QStringLiteral("Invalid Installer"));
        QCOMPARE(state.installers().size(), 2);
    }

    void searchAfterAPackageFindsTheNewInstaller()
    {
        StandInWorld world;
        QVERIFY(world.isValid());
        AppState state;
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning());
        const QString applications = world.path(QStringLiteral("Applications"));
        copyBundle(applications + QStringLiteral("/Install macOS Sequoia.app"),
                   applications + QStringLiteral("/Install macOS Sequoia 2.app"));
        state.findInstalledApp();
        QTRY_VERIFY(!state.isScanning());
        QCOMPARE(state.installers().size(), 5);
        QCOMPARE(state.selectedInstaller()->bundlePath(),
                 applications + QStringLiteral("/Install macOS Sequoia 2.app"));
        QCOMPARE(state.progressInfo().detailMessage,
                 QStringLiteral("Found 1 new macOS installer(s)"));
        QCOMPARE(state.progressInfo().message, QStringLiteral("Operation completed successfully"));

        const auto selected = state.selectedInstaller();
        state.findInstalledApp();
        QTRY_VERIFY(!state.isScanning());
        QCOMPARE(state.selectedInstaller()->id, selected->id);
        QCOMPARE(state.progressInfo().message, QStringLiteral("Operation failed: Unknown error"));
    }
};

QTEST_MAIN(InstallerLibraryTest)
#include "tst_installerlibrary.moc"
