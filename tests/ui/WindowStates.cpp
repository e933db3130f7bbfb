#include "WindowStates.h"

#include "MainWindow.h"
#include "state/AppState.h"
#include "ui/AlertDialog.h"
#include "ui/ContentView.h"
#include "ui/DownloadSheet.h"

#include <QCoreApplication>
#include <QPalette>
#include <QTest>

namespace {

// One of the program's own texts, in the language installed, as the program would show it.
QString program(const char *context, const char *text)
{
    return QCoreApplication::translate(context, text);
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

} // namespace

void waitUntilListed(AppState &state)
{
    state.refreshDiskList();
    QTest::qWait(300);
    for (int i = 0; i < 100 && (state.isScanning() || state.isLoadingDisks()); ++i)
        QTest::qWait(100);
    QTest::qWait(300);
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

void visitWindowStates(AppState &state, MainWindow &window, const QString &prefix,
                       const StateVisit &visit)
{
    const QList<InstallerApp> library = state.installers();
    const QList<DiskInfo> disks = state.availableDisks();

    clearActivity(state);
    state.selectedInstaller = std::nullopt;
    state.selectedDisk = std::nullopt;
    state.installers = {};
    visit(window, prefix + QStringLiteral("01-empty"));

    state.installers = library;
    visit(window, prefix + QStringLiteral("02-installers-none-selected"));

    state.selectedInstaller = library.value(1, library.value(0));
    state.selectedDisk = disks.value(0);
    visit(window, prefix + QStringLiteral("03-installer-and-disk-selected"));

    // An installer kept on the last volume: that volume is shown, but not offered.
    if (!disks.isEmpty()) {
        InstallerApp onVolume = library.value(1, library.value(0));
        onVolume.url = QUrl::fromLocalFile(disks.last().mountPoint + QStringLiteral("/") +
                                           onVolume.name + QStringLiteral(".app"));
        state.selectedInstaller = onVolume;
        visit(window, prefix + QStringLiteral("03-source-volume-not-offered"));
        state.selectedInstaller = library.value(1, library.value(0));
    }

    state.isScanning = true;
    ProgressInfo scan;
    scan.updateProgress(
        60, ProgressInfo::scanningMessage(),
        program("AppState", "Found installer: %1").arg(QStringLiteral("Install macOS Sonoma")));
    state.progressInfo = scan;
    visit(window, prefix + QStringLiteral("04-overlay-scanning"));
    clearActivity(state);

    state.isInstallingPKG = true;
    state.progressInfo = stepsAt(ProgressInfo::OperationType::pkgInstallation, 1, 45,
                                 program("AppState", "Installing macOS Installer package..."));
    visit(window, prefix + QStringLiteral("05-overlay-installing-package"));
    clearActivity(state);

    state.isCreatingMedia = true;
    state.progressInfo = stepsAt(ProgressInfo::OperationType::usbCreation, 2, 40,
                                 QStringLiteral("Copying to disk: 40%"));
    visit(window, prefix + QStringLiteral("06-overlay-creating-usb"));

    const std::optional<DiskInfo> disk = state.selectedDisk();
    state.selectedDisk = std::nullopt;
    state.progressInfo = stepsAt(ProgressInfo::OperationType::dmgCreation, 3, 25,
                                 program("DMGCreator", "Copying the installer files to the DMG"));
    visit(window, prefix + QStringLiteral("07-overlay-creating-disk-image"));
    state.selectedDisk = disk;

    const QString command = state.selectedInstaller()
                                ? state.selectedInstaller()->createinstallmediaCommand(
                                      disk ? disk->mountPoint : QStringLiteral("/Volumes/USB"))
                                : QStringLiteral("createinstallmedia");
    state.isSIPEnabled = true;
    state.isShowingTerminalOverlay = true;
    state.progressInfo = ProgressInfo();
    state.terminalOutput =
        program("AppState", "Command: %1\n\n").arg(command) +
        program("AppState", "Please enter your administrator password when prompted.\n");
    state.isWaitingForPassword = true;
    visit(window, prefix + QStringLiteral("08-terminal-waiting-for-password"));

    state.isWaitingForPassword = false;
    ProgressInfo running;
    running.updateProgress(52, program("AppState", "Starting USB creation process..."));
    state.progressInfo = running;
    state.terminalOutput.modify([](QString &output) {
        output += program("AppState", "\nExecuting command. This may take several minutes...\n");
        output += QStringLiteral("Erasing disk: 0%... 10%... 20%... 30%... 100%\n"
                                 "Making disk bootable...\nCopying to disk: 0%... 10%... 20%... "
                                 "30%... 40%... 50%...\n");
    });
    visit(window, prefix + QStringLiteral("09-terminal-running"));
    clearActivity(state);

    state.isCreatingMedia = true;
    ProgressInfo success = stepsAt(ProgressInfo::OperationType::usbCreation, 3, 100, QString());
    success.completeAllSteps(true, std::nullopt);
    success.markComplete(true, program("AppState", "USB creation completed successfully"));
    state.progressInfo = success;
    visit(window, prefix + QStringLiteral("10-complete-success"));

    ProgressInfo failure = stepsAt(ProgressInfo::OperationType::usbCreation, 2, 30, QString());
    failure.markComplete(
        false, QString(),
        program("USBCreator", "The selected disk doesn't have enough space for this installer"));
    state.progressInfo = failure;
    visit(window, prefix + QStringLiteral("11-complete-failure"));
    clearActivity(state);
}

void visitAlerts(AppState &state, MainWindow &window, const StateVisit &visit)
{
    state.alertTitle = program("AppState", "Warning");
    state.alertMessage = program("AppState", "This will erase all data on '%1' (%2). Are you sure "
                                             "you want to continue?")
                             .arg(QStringLiteral("UNTITLED"), QStringLiteral("disk4s2"));
    state.alertPrimaryButton =
        AlertButton::destructiveButton(program("AppState", "Erase and Create"));
    state.alertSecondaryButton = AlertButton::cancelButton();
    state.isShowingAlert = true;
    QTest::qWait(150);
    if (AlertDialog *alert = window.content()->alert())
        visit(*alert, QStringLiteral("12-alert-two-buttons"));
    state.showError(program("AppState", "Invalid Installer"),
                    program("AppState", "The selected application doesn't appear to be a valid "
                                        "macOS installer."));
    QTest::qWait(150);
    if (AlertDialog *alert = window.content()->alert())
        visit(*alert, QStringLiteral("13-alert-one-button"));
    state.isShowingAlert = false;
}

// The Download an Installer sheet over the window: while Apple is asked, the listing, and a
// listing that failed; then the download's overlay.
void visitDownloads(AppState &state, MainWindow &window, const StateVisit &visit)
{
    DownloadSheet sheet(state, &window);
    sheet.show();
    state.isListingOfferedInstallers = true;
    visit(sheet, QStringLiteral("16-download-sheet-asking"));
    state.listOfferedInstallers(); // already listing: nothing new starts
    state.isListingOfferedInstallers = false;
    state.listOfferedInstallers();
    for (int i = 0; i < 100 && state.isListingOfferedInstallers(); ++i)
        QTest::qWait(50);
    visit(sheet, QStringLiteral("17-download-sheet-listing"));
    const QList<AvailableInstaller> offered = state.offeredInstallers();
    state.offeredInstallers = {};
    state.offeredInstallersFailure =
        QStringLiteral("Software Update can\u2019t connect to the update server.");
    visit(sheet, QStringLiteral("18-download-sheet-no-network"));
    state.offeredInstallersFailure = QString();
    state.offeredInstallers = offered;
    sheet.close();

    state.jobKind = AppState::JobKind::download;
    state.isDownloadingInstaller = true;
    ProgressInfo progress = stepsAt(ProgressInfo::OperationType::installerDownload, 1, 39, {});
    progress.message = program("AppState", "Downloading %1: %2%")
                           .arg(QStringLiteral("macOS Ventura 13.7.4"), QStringLiteral("39"));
    state.progressInfo = progress;
    visit(window, QStringLiteral("19-overlay-downloading-installer"));
    clearActivity(state);
}
