#pragma once

#include "disk/DiskInfo.h"
#include "exec/Cancellation.h"
#include "exec/KeepAwake.h"
#include "model/FullInstallerList.h"
#include "model/InstallMediaOutput.h"
#include "model/InstallerApp.h"
#include "model/ProgressInfo.h"
#include "model/Secret.h"
#include "model/Timing.h"
#include "state/AlertButton.h"
#include "state/InstallerFilePicker.h"
#include "state/Published.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <chrono>
#include <optional>

// The one state of the application. Views read its published fields and call its operations;
// every field is read and written on the main thread only. Work that takes time runs in the
// background and hands its results back as tasks queued on the main thread with this object
// as their context, so a task whose state is gone is dropped.
class AppState : public QObject {
    Q_OBJECT

public:
    explicit AppState(QObject *parent = nullptr);

    // Jobs: one USB, ISO, package, download or check of media runs at a time.
    enum class JobKind { usb, iso, package, download, verify };

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
    // A third button, for an alert with two answers and a way out; put away with the alert.
    Published<std::optional<AlertButton>> alertCancelButton;
    Published<bool> isSIPEnabled;
    Published<bool> isShowingTerminalOverlay;
    Published<QString> terminalOutput;
    Published<QString> terminalCommand;
    Published<bool> isWaitingForPassword;
    // The kind of the job running or last run, whatever is selected: what its overlay shows.
    Published<JobKind> jobKind;
    // The full installers Apple offers this Mac, newest first, as last listed.
    Published<QList<AvailableInstaller>> offeredInstallers;
    Published<bool> isListingOfferedInstallers;
    // Why the last listing gave nothing; empty when it gave a listing.
    Published<QString> offeredInstallersFailure;
    // This Mac's softwareupdate has no listing of full installers (before macOS 11).
    Published<bool> isInstallerListingUnsupported;
    // A download job's progress is shown, until its result is put away.
    Published<bool> isDownloadingInstaller;
    // Whether USB and ISO jobs read back what they wrote and compare it with the installer
    // before they report success. The window remembers the user's choice; the command line
    // takes its own.
    Published<bool> verifiesMedia;

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

    // Installers from Apple (OfferedInstallers.cpp, InstallerDownload.cpp)
    // Asks softwareupdate what Apple offers, in the background; nothing while a listing runs.
    void listOfferedInstallers();
    // Whether the library holds an installer of the same macOS version as `offered`.
    bool hasInApplications(const AvailableInstaller &offered) const;
    // What stands in the way of downloading `offered` into Applications for want of space
    // ("12.4 GB more are needed…"), or nothing.
    std::optional<QString> spaceMissingFor(const AvailableInstaller &offered) const;
    // Downloads `offered` into Applications as a job, then selects it.
    void downloadInstaller(const AvailableInstaller &offered);

    // Disk list
    void refreshDiskList();
    void ejectDisk(const DiskInfo &disk);
    void ejectSharedSupportVolumes();

    // Making media
    // Why `disk` may not be erased for the selected installer (it holds it), or nothing.
    std::optional<QString> whyNotTarget(const DiskInfo &disk) const;
    void createBootableUSB();
    // The password typed into the terminal overlay, fed to the prepared command; its buffer is
    // zeroed once sudo's pipe holds it.
    void executeTerminalCommand(Secret password);
    void createBootableDMG();

    // Checking media (MediaVerification.cpp)
    enum class Media { usbVolume, diskImage };
    // Compares the installer on existing media (a volume's mount point, or an ISO file, which
    // is attached read-only for the check) with `installer`, as a job of its own.
    void verifyMedia(const InstallerApp &installer, Media media, const QString &location);

    // A job's result stays shown until it is put away; until then no other job starts.
    // The running job, if any. Cancelling it ends its tools and leaves it to report how it
    // ended.
    bool hasJob() const { return m_job != nullptr; }
    // Whether a job runs or its result is still shown, and what the controls that would start
    // another say meanwhile.
    bool isBusy() const;
    static QString busyReason();
    // Whether the running USB job has begun erasing its target.
    bool jobHasErasedTarget() const;
    // Cancel as the user asks for it: at once while nothing of theirs has been touched; once the
    // target is being erased, after a question.
    void requestCancel();
    void cancelJob();
    // Called once the running job has reported how it ended: withdraws a question about it.
    void endJob();
    // How long the last job ran, once it has ended.
    std::optional<std::chrono::milliseconds> jobDuration() const { return m_jobDuration; }
    // Whether the running job, or the last one once it has ended, was asked to stop.
    bool jobWasCancelled() const { return m_job ? m_job->isRequested() : m_lastJobCancelled; }
    // How the last job ended, in a sentence or two for a notification: its result is ready, or
    // it is not, and why.
    QString jobOutcome() const;
    // What quitting during a job asks, with `quit` as its answer; false when no job runs.
    bool askBeforeQuitting(std::function<void()> quit);

    // Background work holds the state weakly: it queues its results with runOnMainThread(),
    // and a result whose state is gone by then is dropped.
    QPointer<AppState> weakSelf() { return QPointer<AppState>(this); }
    // Runs `task` on the main thread `delay` from now. Called on the main thread.
    void runAfter(Timing::Duration delay, std::function<void()> task);

    void openDonationURL();
    void openInfoURL();

    // One "OK" button; replaces whatever alert was showing.
    void showError(const QString &title, const QString &message);
    void showAlert(const QString &title, const QString &message);

    // What the alert shown asks, for code that answers it (the command line): its title and
    // message are translated, this is not. Set together with the alert's title.
    enum class Question {
        none,           // a notice with one button
        eraseTarget,    // "Erase and Create" the USB target
        replaceFiles,   // replace the ISO or DMG of the same name on the desktop
        installPackage, // install a package automatically or in the Installer
        installByHand,  // the automatic installation failed: open the package in the Installer
        aboutJob,       // stop the running job (cancel or quit)
    };
    Question alertQuestion() const { return m_alertQuestion; }

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
    // A USB or ISO run's record with the check to come as its last step, when media is checked:
    // the bar then moves forward only, the writing taking the rest.
    ProgressInfo withCheckToCome(ProgressInfo written) const;
    // Where the writing's `percentage` stands on the bar with the check to come after it.
    double beforeCheck(double percentage) const;
    // Turns a USB or ISO run's successful record, its check to come included, into the start of
    // the check, the same job going on; false when there is nothing to check (checking is off).
    bool verifyWrittenMedia(const ProgressInfo &written);
    // Reads back the media on a job thread, publishing the bytes read as the current step's
    // progress, and completes `record` with the result: `succeeded` as its message if it passed.
    void startVerification(ProgressInfo record, Media media, const QString &location,
                           const QString &source, const QString &succeeded);
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
    void verifyThen(const InstallerApp &installer, JobKind kind,
                    std::function<void(const InstallerApp &)> proceed);
    void announceChange() { emit changed(); }
    // Follows every assignment of isCreatingMedia.
    void announceMediaRun()
    {
        announceChange();
        listVolumesChangedDuringRun();
    }

    // Disk list (DiskList.cpp). A shown listing covers the list with its loading state while it
    // runs, and a moment after it ends selects again the device selected when it began; a quiet
    // one replaces the list as it arrives, and the selection with the same device's new record.
    enum class Listing { quiet, shown };
    void listDisks(Listing listing);
    // Keeps the list current as volumes come and go from now on. The watch is the state's own.
    void watchVolumes();
    // Lists the disks quietly, or once the media run under way is over.
    void listChangedVolumes();
    // Lists the volumes that changed during a media run once it is over.
    void listVolumesChangedDuringRun();

    // Makes a new job the running one; its engine is started inside a Cancellation::Scope of it.
    std::shared_ptr<Cancellation> beginJob(JobKind kind);
    // Shows a question about the running job, withdrawn if the job ends first.
    void askAboutJob(const QString &title, const QString &message, const QString &answer,
                     std::function<void()> action, const QString &keepGoing);

    // Puts the installer a download job landed at `bundlePath` into the library and selects it.
    void addDownloadedInstaller(const InstallerApp &installer);

    QString m_windowTitle = QStringLiteral("Tessaline");
    std::shared_ptr<Cancellation> m_job;
    // Keeps the Mac awake for as long as there is a job.
    KeepAwake m_keepAwake;
    // The name of the volume a USB job erases, as the user chose it.
    QString m_jobTargetName;
    QElapsedTimer m_jobClock;
    std::optional<std::chrono::milliseconds> m_jobDuration;
    bool m_lastJobCancelled = false;
    // Whether the alert shown is a question about the running job.
    bool m_askingAboutJob = false;
    Question m_alertQuestion = Question::none;
    // Whether the terminal path's command (or the check before it) is under way.
    bool m_terminalRunning = false;
    InstallerFilePicker *m_filePicker = nullptr;
    // What the terminal path's createinstallmedia has said; its progress is the run's own.
    InstallMediaOutput m_terminalReading;
    // One disk listing at a time: a listing asked for meanwhile runs once the listing is over,
    // shown if any of those asked for was.
    bool m_listingDisks = false;
    std::optional<Listing> m_relistDisks;
    // Volumes changed during a media run, after the last listing began.
    bool m_volumesChangedUnlisted = false;
    // The volume the terminal path's command erases, checked again before the command runs.
    std::optional<DiskInfo> m_terminalTarget;
    // What the terminal path runs through sudo: the tool and its arguments terminalCommand shows.
    QStringList m_terminalArguments;
    // The installer the running USB or ISO job writes: what its media is checked against.
    QString m_jobSource;
    // Whether the running job has written its media and is reading it back; reports of the
    // writing that come late change nothing then.
    bool m_verifying = false;
};
