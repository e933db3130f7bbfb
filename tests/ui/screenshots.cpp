// Writes pictures of the main window in its main states into the folder given as argument, on a
// stand-in Mac made for the run: script/screenshots builds and runs it.

#include "MainWindow.h"
#include "host/Host.h"
#include "state/AppState.h"
#include "ui/AlertDialog.h"
#include "ui/ContentView.h"
#include "ui/DownloadSheet.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace std::chrono_literals;

namespace {

QString folder;
int failures = 0;

void settle()
{
    QTest::qWait(150);
}

void save(QWidget &widget, const QString &name)
{
    settle();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (widget.grab().save(path)) {
        std::printf("%s\n", qPrintable(path));
    } else {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        ++failures;
    }
}

void clearActivity(AppState &state)
{
    state.isScanning = false;
    state.isInstallingPKG = false;
    state.isCreatingMedia = false;
    state.isShowingTerminalOverlay = false;
    state.isDownloadingInstaller = false;
    state.isWaitingForPassword = false;
    state.terminalOutput = QString();
    state.progressInfo = ProgressInfo();
}


ProgressInfo stepsAt(ProgressInfo::OperationType type, int step, double within,
                     const QString &detail)
{
    ProgressInfo progress;
    progress.setupSteps(type);
    for (int i = 1; i <= step; ++i)
        progress.updateCurrentStep(i);
    progress.updateProgressWithinCurrentStep(within, detail);
    return progress;
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x32, 0x32, 0x32));
    dark.setColor(QPalette::WindowText, QColor(0xEC, 0xEC, 0xEC));
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    dark.setColor(QPalette::AlternateBase, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(QPalette::Text, QColor(0xEC, 0xEC, 0xEC));
    dark.setColor(QPalette::Button, QColor(0x46, 0x46, 0x46));
    dark.setColor(QPalette::ButtonText, QColor(0xEC, 0xEC, 0xEC));
    dark.setColor(QPalette::Highlight, QColor(0x0A, 0x84, 0xFF));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::PlaceholderText, QColor(0x9A, 0x9A, 0x9A));
    dark.setColor(QPalette::ToolTipBase, QColor(0x46, 0x46, 0x46));
    dark.setColor(QPalette::ToolTipText, QColor(0xEC, 0xEC, 0xEC));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, QColor(0x7A, 0x7A, 0x7A));
    return dark;
}

void shootStates(AppState &state, MainWindow &window, const QString &prefix)
{
    const QList<InstallerApp> library = state.installers();
    const QList<DiskInfo> disks = state.availableDisks();

    clearActivity(state);
    state.selectedInstaller = std::nullopt;
    state.selectedDisk = std::nullopt;
    state.installers = {};
    save(window, prefix + QStringLiteral("01-empty"));

    state.installers = library;
    save(window, prefix + QStringLiteral("02-installers-none-selected"));

    state.selectedInstaller = library.value(1, library.value(0));
    state.selectedDisk = disks.value(0);
    save(window, prefix + QStringLiteral("03-installer-and-disk-selected"));

    // An installer kept on the last volume: that volume is shown, but not offered.
    if (!disks.isEmpty()) {
        InstallerApp onVolume = library.value(1, library.value(0));
        onVolume.url = QUrl::fromLocalFile(disks.last().mountPoint + QStringLiteral("/") +
                                           onVolume.name + QStringLiteral(".app"));
        state.selectedInstaller = onVolume;
        save(window, prefix + QStringLiteral("03-source-volume-not-offered"));
        state.selectedInstaller = library.value(1, library.value(0));
    }

    state.isScanning = true;
    ProgressInfo scan;
    scan.updateProgress(60, QStringLiteral("Scanning for macOS installers..."),
                        QStringLiteral("Checking Install macOS Sonoma.app"));
    state.progressInfo = scan;
    save(window, prefix + QStringLiteral("04-overlay-scanning"));
    clearActivity(state);

    state.isInstallingPKG = true;
    state.progressInfo = stepsAt(ProgressInfo::OperationType::pkgInstallation, 1, 45,
                                 QStringLiteral("Installing InstallAssistant.pkg"));
    save(window, prefix + QStringLiteral("05-overlay-installing-package"));
    clearActivity(state);

    state.isCreatingMedia = true;
    state.progressInfo = stepsAt(ProgressInfo::OperationType::usbCreation, 2, 40,
                                 QStringLiteral("Copying to disk: 40%"));
    save(window, prefix + QStringLiteral("06-overlay-creating-usb"));

    const std::optional<DiskInfo> disk = state.selectedDisk();
    state.selectedDisk = std::nullopt;
    state.progressInfo = stepsAt(ProgressInfo::OperationType::dmgCreation, 3, 25,
                                 QStringLiteral("Running createinstallmedia"));
    save(window, prefix + QStringLiteral("07-overlay-creating-disk-image"));
    state.selectedDisk = disk;

    const QString command = state.selectedInstaller()
                                ? state.selectedInstaller()->createinstallmediaCommand(
                                      disk ? disk->mountPoint : QStringLiteral("/Volumes/USB"))
                                : QStringLiteral("createinstallmedia");
    state.isSIPEnabled = true;
    state.isShowingTerminalOverlay = true;
    state.progressInfo = ProgressInfo();
    state.terminalOutput = QStringLiteral("Command: %1\n\nPlease enter your administrator password "
                                          "when prompted.\n")
                               .arg(command);
    state.isWaitingForPassword = true;
    save(window, prefix + QStringLiteral("08-terminal-waiting-for-password"));

    state.isWaitingForPassword = false;
    ProgressInfo running;
    running.updateProgress(52, QStringLiteral("Copying installer files..."));
    state.progressInfo = running;
    state.terminalOutput.modify([](QString &output) {
        output += QStringLiteral("\nExecuting command. This may take several minutes...\n"
                                 "Erasing disk: 0%... 10%... 20%... 30%... 100%\n"
                                 "Making disk bootable...\nCopying to disk: 0%... 10%... 20%... "
                                 "30%... 40%... 50%...\n");
    });
    save(window, prefix + QStringLiteral("09-terminal-running"));
    clearActivity(state);

    state.isCreatingMedia = true;
    ProgressInfo success = stepsAt(ProgressInfo::OperationType::usbCreation, 3, 100, QString());
    success.completeAllSteps(true, std::nullopt);
    success.markComplete(true, QStringLiteral("USB creation completed successfully"));
    state.progressInfo = success;
    save(window, prefix + QStringLiteral("10-complete-success"));

    ProgressInfo failure = stepsAt(ProgressInfo::OperationType::usbCreation, 2, 30, QString());
    failure.markComplete(false, QString(),
                         QStringLiteral("The USB drive doesn't have enough space. Required: 14.3 "
                                        "GB, Available: 8.0 GB"));
    state.progressInfo = failure;
    save(window, prefix + QStringLiteral("11-complete-failure"));
    clearActivity(state);
}

void shootAlerts(AppState &state, MainWindow &window)
{
    state.alertTitle = QStringLiteral("Erase Disk?");
    state.alertMessage = QStringLiteral(
        "This will erase all data on UNTITLED (disk4s2). Are you sure you want to continue?");
    state.alertPrimaryButton = AlertButton::destructiveButton(QStringLiteral("Erase and Create"));
    state.alertSecondaryButton = AlertButton::cancelButton();
    state.isShowingAlert = true;
    settle();
    if (AlertDialog *alert = window.content()->alert())
        save(*alert, QStringLiteral("12-alert-two-buttons"));
    state.showError(QStringLiteral("Invalid Installer"),
                    QStringLiteral("The selected application doesn't appear to be a valid macOS "
                                   "installer."));
    settle();
    if (AlertDialog *alert = window.content()->alert())
        save(*alert, QStringLiteral("13-alert-one-button"));
    state.isShowingAlert = false;
}

// The Download an Installer sheet over the window: while Apple is asked, the listing, and a
// listing that failed; then the download's overlay.
void shootDownloads(AppState &state, MainWindow &window)
{
    DownloadSheet sheet(state, &window);
    sheet.show();
    state.isListingOfferedInstallers = true;
    save(sheet, QStringLiteral("16-download-sheet-asking"));
    state.listOfferedInstallers(); // already listing: nothing new starts
    state.isListingOfferedInstallers = false;
    state.listOfferedInstallers();
    for (int i = 0; i < 100 && state.isListingOfferedInstallers(); ++i)
        QTest::qWait(50);
    save(sheet, QStringLiteral("17-download-sheet-listing"));
    const QList<AvailableInstaller> offered = state.offeredInstallers();
    state.offeredInstallers = {};
    state.offeredInstallersFailure =
        QStringLiteral("Software Update can\u2019t connect to the update server.");
    save(sheet, QStringLiteral("18-download-sheet-no-network"));
    state.offeredInstallersFailure = QString();
    state.offeredInstallers = offered;
    sheet.close();

    state.jobKind = AppState::JobKind::download;
    state.isDownloadingInstaller = true;
    ProgressInfo progress = stepsAt(ProgressInfo::OperationType::installerDownload, 1, 39, {});
    progress.message = QStringLiteral("Downloading macOS Ventura 13.7.4: 39%");
    state.progressInfo = progress;
    save(window, QStringLiteral("19-overlay-downloading-installer"));
    clearActivity(state);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Tessaline"));
    application.setWindowIcon(QIcon(QStringLiteral(":/app/tessaline-256.png")));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    QString standIn = qEnvironmentVariable("TESSALINE_STANDIN");
    if (standIn.isEmpty())
        standIn = QApplication::applicationDirPath() + QStringLiteral("/tessaline-standin");
    QTemporaryDir world;
    if (QProcess::execute(standIn, {QStringLiteral("make-world"), world.path()}) != 0) {
        std::fprintf(stderr, "could not make a stand-in Mac with %s\n", qPrintable(standIn));
        return 1;
    }
    Host::setCurrent(Host::standIn(world.path()));
    Timing timing;
    timing.startupRefreshDelay = 1h; // the pictures are of states set here, not of timers
    Timing::setCurrent(timing);

    AppState state;
    MainWindow window(state);
    window.show();
    state.refreshDiskList();
    // The first showing scans; wait for it and for the disk list.
    QTest::qWait(300);
    for (int i = 0; i < 100 && (state.isScanning() || state.isLoadingDisks()); ++i)
        QTest::qWait(100);
    QTest::qWait(300);

    shootStates(state, window, QString());
    shootAlerts(state, window);
    shootDownloads(state, window);

    state.selectedInstaller = state.installers().value(0);
    window.content()->toggleSidebar();
    save(window, QStringLiteral("14-sidebar-collapsed"));
    window.content()->toggleSidebar();

    // The dialog of "Add": shot and closed from inside its own event loop.
    QTimer::singleShot(500, [] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            save(*dialog, QStringLiteral("15-add-installer-dialog"));
            dialog->close();
        }
    });
    window.content()->addAction()->trigger();

    QApplication::setPalette(darkPalette());
    shootStates(state, window, QStringLiteral("dark-"));
    return failures == 0 ? 0 : 1;
}
