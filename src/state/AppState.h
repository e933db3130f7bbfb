#pragma once

#include "disk/DiskInfo.h"
#include "model/InstallMediaOutput.h"
#include "model/InstallerApp.h"
#include "model/ProgressInfo.h"
#include "model/Secret.h"
#include "model/Timing.h"
#include "state/AlertButton.h"
#include "state/InstallerFilePicker.h"
#include "state/Published.h"

#include <QObject>
#include <QPointer>

#include <optional>

// The one state of the application. Views read its published fields and call its operations;
// every field is read and written on the main thread only. Work that takes time runs in the
// background and hands its results back as tasks queued on the main thread with this object
// as their context, so a task whose state is gone is dropped.
class AppState : public QObject {
    Q_OBJECT

public:
    explicit AppState(QObject *parent = nullptr);

    // Published fields: every assignment announces changed().
    Published<QList<InstallerApp>> installers;
    Published<std::optional<InstallerApp>> selectedInstaller; // also retitles the window
    Published<QList<DiskInfo>> availableDisks;
    Published<std::optional<DiskInfo>> selectedDisk;
    Published<bool> isScanning;
    Published<bool> isLoadingDisks;
    Published<bool> isCreatingMedia;
    Published<bool> isInstallingPKG;
    Published<ProgressInfo> progressInfo;
    Published<bool> isShowingAlert;
    Published<QString> alertTitle;
    Published<QString> alertMessage;
    Published<AlertButton> alertPrimaryButton;
    Published<std::optional<AlertButton>> alertSecondaryButton;
    Published<bool> isSIPEnabled;
    Published<bool> isShowingTerminalOverlay;
    Published<QString> terminalOutput;
    Published<QString> terminalCommand;
    Published<bool> isWaitingForPassword;

    // Makes the completion steps of one media creation run once. Not published.
    bool successProcessed = false;

    // The title the window shows: the selected installer's macOS name, or "Tessaline".
    QString windowTitle() const { return m_windowTitle; }

    // The window's file dialog; without one, adding from the dialog does nothing.
    void setFilePicker(InstallerFilePicker *picker) { m_filePicker = picker; }

    // Installer library
    static QString extractMacOSName(const QString &name);
    static QList<InstallerApp> sortInstallers(QList<InstallerApp> installers);
    void scanForInstallers();
    void addInstallerFromFinder();
    void findInstalledApp();

    // Installing an installer application from a package
    void handlePKGInstaller(const QUrl &url);
    void installPKGAutomated(const QUrl &url);
    void openInstallerApp(const QUrl &url);

    // Disk list
    void refreshDiskList();
    void ejectDisk(const DiskInfo &disk);
    void ejectSharedSupportVolumes();

    // Making media
    void createBootableUSB();
    // The password typed into the terminal overlay, fed to the prepared command; its buffer is
    // zeroed once sudo's pipe holds it.
    void executeTerminalCommand(Secret password);
    void createBootableDMG();

    // Background work holds the state weakly: it queues its results with postToMainThread(),
    // and a result whose state is gone by then is dropped.
    QPointer<AppState> weakSelf() { return QPointer<AppState>(this); }
    static void postToMainThread(const QPointer<AppState> &state,
                                 std::function<void(AppState &)> task);
    // Runs `task` on the main thread `delay` from now. Called on the main thread.
    void runAfter(Timing::Duration delay, std::function<void()> task);

    void openDonationURL();
    void openInfoURL();

    // One "OK" button; replaces whatever alert was showing.
    void showError(const QString &title, const QString &message);
    void showAlert(const QString &title, const QString &message);

signals:
    void changed();
    void windowTitleChanged(const QString &title);

private:
    void updateWindowTitle();
    void proceedWithUSBCreation(const InstallerApp &installer, const DiskInfo &disk);
    void proceedWithTerminalUSBCreation(const InstallerApp &installer, const DiskInfo &disk);
    // Checks the installer's signature, then makes the image.
    void proceedWithDMGCreation(const InstallerApp &unchecked);
    void makeDMG(const InstallerApp &installer);
    // Feeds the password to the prepared terminal command, once its target has been confirmed.
    void startTerminalCommand(Secret password);
    // Publishes one report of a USB or ISO run (the percentage shown never goes back) and winds
    // the run down once it is complete; `followUp` runs after the first successful report.
    void applyMediaReport(ProgressInfo record, const std::function<void()> &followUp);
    // Ends a terminal run as failed with `error`, told in the terminal too.
    void readTerminalRun(InstallMediaOutput::Stream stream, const QString &chunk);
    void failTerminalRun(const QString &error);
    // Gives the installer volume just made, at `volumePath`, the selected installer's icon.
    void setIconOfNewVolume(const QString &volumePath);
    void setVolumeIcon(const QString &volumePath, const InstallerApp &installer);
    // Installer signatures (InstallerSignatures.cpp). Checks each installer in the background and
    // records what codesign said of it.
    void checkSignatures(const QList<InstallerApp> &listed);
    void recordSignature(const QUuid &id, const CodeSignature &signature);
    // Selects the newest Apple-signed installer when nothing is selected yet.
    void selectFirstTrusted();
    // Shows why an installer the library found unsigned is refused; false when it is not.
    bool refuseUntrusted(const InstallerApp &installer);
    // Checks the installer's signature afresh and calls `proceed`, on the main thread, with the
    // record to run: its bundle path resolved, the path that was checked. Refuses otherwise.
    void verifyThen(const InstallerApp &installer,
                    std::function<void(const InstallerApp &)> proceed);
    void announceChange() { emit changed(); }

    QString m_windowTitle = QStringLiteral("Tessaline");
    InstallerFilePicker *m_filePicker = nullptr;
    // What the terminal path's createinstallmedia has said; its progress is the run's own.
    InstallMediaOutput m_terminalReading;
    // One disk listing at a time: a refresh asked for meanwhile runs once the listing is over.
    bool m_listingDisks = false;
    bool m_relistDisks = false;
    // The volume the terminal path's command erases, checked again before the command runs.
    std::optional<DiskInfo> m_terminalTarget;
    // What the terminal path runs through sudo: the tool and its arguments terminalCommand shows.
    QStringList m_terminalArguments;
};
