#include "state/AppState.h"

#include "exec/MainThread.h"

#include <QDesktopServices>
#include <QTimer>

namespace {

const char *const donationPage = "https://quorvale.com/tessaline/donate";
const char *const infoPage = "https://quorvale.com/tessaline";

void openPage(const char *address)
{
    const QUrl url(QString::fromLatin1(address), QUrl::StrictMode);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

} // namespace

AppState::AppState(QObject *parent)
    : QObject(parent), installers([this] { announceChange(); }, {}), selectedInstaller(
                                                                         [this] {
                                                                             announceChange();
                                                                             updateWindowTitle();
                                                                         },
                                                                         std::nullopt),
      availableDisks([this] { announceChange(); }, {}),
      selectedDisk([this] { announceChange(); }, std::nullopt),
      isScanning([this] { announceChange(); }, false),
      isLoadingDisks([this] { announceChange(); }, false),
      isCreatingMedia([this] { announceMediaRun(); }, false),
      isInstallingPKG([this] { announceChange(); }, false),
      progressInfo([this] { announceChange(); }, ProgressInfo()),
      isShowingAlert([this] { announceChange(); }, false),
      alertTitle([this] { announceChange(); }, QString()),
      alertMessage([this] { announceChange(); }, QString()),
      alertPrimaryButton([this] { announceChange(); }, AlertButton::defaultButton(tr("OK"))),
      alertSecondaryButton([this] { announceChange(); }, std::nullopt),
      alertCancelButton([this] { announceChange(); }, std::nullopt),
      isSIPEnabled([this] { announceChange(); }, false),
      isShowingTerminalOverlay([this] { announceChange(); }, false),
      terminalOutput([this] { announceChange(); }, QString()),
      terminalCommand([this] { announceChange(); }, QString()),
      isWaitingForPassword([this] { announceChange(); }, false),
      jobKind([this] { announceChange(); }, JobKind::usb),
      offeredInstallers([this] { announceChange(); }, {}),
      isListingOfferedInstallers([this] { announceChange(); }, false),
      offeredInstallersFailure([this] { announceChange(); }, QString()),
      isInstallerListingUnsupported([this] { announceChange(); }, false),
      isDownloadingInstaller([this] { announceChange(); }, false),
      verifiesMedia([this] { announceChange(); }, true)
{
    progressInfo.modify([](ProgressInfo &progress) { progress.steps.clear(); });
    // Installers leave their Shared Support volume mounted; clear them away before listing.
    ejectSharedSupportVolumes();
    runAfter(Timing::current().startupRefreshDelay, [this] {
        refreshDiskList();
        watchVolumes();
        scanForInstallers();
    });
}

void AppState::updateWindowTitle()
{
    // Applied after the current work, so several assignments in one turn end with the last.
    runOnMainThread(this, [this] {
        const auto &selected = selectedInstaller.get();
        m_windowTitle = selected ? extractMacOSName(selected->name) : QStringLiteral("Tessaline");
        emit windowTitleChanged(m_windowTitle);
    });
}

void AppState::runAfter(Timing::Duration delay, std::function<void()> task)
{
    QTimer::singleShot(delay, this, std::move(task));
}

void AppState::openDonationURL()
{
    openPage(donationPage);
}

void AppState::openInfoURL()
{
    openPage(infoPage);
}

void AppState::showError(const QString &title, const QString &message)
{
    showAlert(title, message);
}

void AppState::showAlert(const QString &title, const QString &message)
{
    m_alertQuestion = Question::none;
    alertTitle = title;
    alertMessage = message;
    alertPrimaryButton = AlertButton::defaultButton(tr("OK"));
    alertSecondaryButton = std::nullopt;
    alertCancelButton = std::nullopt;
    isShowingAlert = true;
}

std::shared_ptr<Cancellation> AppState::beginJob(JobKind kind)
{
    m_job = std::make_shared<Cancellation>();
    m_keepAwake.start();
    jobKind = kind;
    m_jobDuration.reset();
    m_lastJobCancelled = false;
    m_jobClock.start();
    return m_job;
}

bool AppState::isBusy() const
{
    return hasJob() || isCreatingMedia() || isInstallingPKG() || isShowingTerminalOverlay() ||
           isDownloadingInstaller();
}

QString AppState::busyReason()
{
    return tr("Another job is running: wait for it to end or cancel it");
}

bool AppState::jobHasErasedTarget() const
{
    if (!m_job || jobKind() != JobKind::usb)
        return false;
    return isShowingTerminalOverlay()
               ? m_terminalReading.phase() != InstallMediaOutput::Phase::starting
               : progressInfo().targetErased;
}

void AppState::requestCancel()
{
    // Once the media is written, stopping its check loses nothing.
    if (m_verifying || !jobHasErasedTarget())
        return cancelJob();
    //: %1 is the name of the volume the job erases.
    const QString message = tr("%1 is being erased and written. If you stop now, it is left "
                               "incomplete until you erase it or make it again.")
                                .arg(m_jobTargetName);
    askAboutJob(
        tr("Cancel Operation"), message,
        //: The button that stops the job after all.
        tr("Stop"), [this] { cancelJob(); },
        //: The button that lets the job go on.
        tr("Continue"));
}

void AppState::cancelJob()
{
    if (!m_job)
        return;
    m_job->request();
    // A terminal run still waiting for its password has nothing running that could report.
    if (isShowingTerminalOverlay() && !m_terminalRunning && !progressInfo().isComplete)
        failTerminalRun(tr("Cancelled. Nothing was erased."));
}

void AppState::endJob()
{
    if (!m_job)
        return;
    m_lastJobCancelled = m_job->isRequested();
    m_job.reset();
    m_verifying = false;
    m_keepAwake.stop();
    m_jobDuration = std::chrono::milliseconds(m_jobClock.elapsed());
    // The job's result answers the question: it takes the question's place.
    if (m_askingAboutJob && isShowingAlert()) {
        m_askingAboutJob = false;
        isShowingAlert = false;
    }
    // The views follow whether there is a job, as they follow the published fields.
    announceChange();
}

QString AppState::jobOutcome() const
{
    const ProgressInfo &progress = progressInfo();
    const JobKind kind = jobKind();
    if (progress.success) {
        switch (kind) {
        case JobKind::usb:
            return progress.verified ? tr("The bootable USB is ready. It was verified.")
                                     : tr("The bootable USB is ready.");
        case JobKind::iso:
            return progress.verified ? tr("The ISO is ready. It was verified.")
                                     : tr("The ISO is ready.");
        case JobKind::download:
            return tr("The installer is in Applications.");
        case JobKind::verify:
            return tr("The media matches the installer.");
        case JobKind::package:
            break;
        }
        return tr("The package is installed.");
    }
    const QString why = progress.errorMessage.value_or(QString()).isEmpty()
                            ? progress.message
                            : *progress.errorMessage;
    if (why.isEmpty()) {
        switch (kind) {
        case JobKind::usb:
            return tr("The bootable USB was not made.");
        case JobKind::iso:
            return tr("The ISO was not made.");
        case JobKind::download:
            return tr("The installer was not downloaded.");
        case JobKind::verify:
            return tr("The media was not verified.");
        case JobKind::package:
            break;
        }
        return tr("The package was not installed.");
    }
    switch (kind) {
    case JobKind::usb:
        //: %1 is why the job failed.
        return tr("The bootable USB was not made. %1").arg(why);
    case JobKind::iso:
        //: %1 is why the job failed.
        return tr("The ISO was not made. %1").arg(why);
    case JobKind::download:
        //: %1 is why the job failed.
        return tr("The installer was not downloaded. %1").arg(why);
    case JobKind::verify:
        //: %1 is why the check failed.
        return tr("The media was not verified. %1").arg(why);
    case JobKind::package:
        break;
    }
    //: %1 is why the job failed.
    return tr("The package was not installed. %1").arg(why);
}

bool AppState::askBeforeQuitting(std::function<void()> quit)
{
    if (!m_job)
        return false;
    const JobKind kind = jobKind();
    const QString title = m_verifying            ? tr("Quit and stop checking the media?")
                          : kind == JobKind::usb ? tr("Quit and stop making the bootable USB?")
                          : kind == JobKind::iso ? tr("Quit and stop making the ISO?")
                          : kind == JobKind::download
                              ? tr("Quit and stop downloading the installer?")
                              : tr("Quit and stop installing the package?");
    const QString what = m_verifying ? tr("The media stays as it was written, but unchecked.")
                         : jobHasErasedTarget()
                             ? tr("The drive being written is left erased and incomplete.")
                         : kind == JobKind::iso      ? tr("The partial disk image is removed.")
                         : kind == JobKind::download ? tr("What was downloaded so far is removed.")
                                                     : tr("Nothing has been erased yet.");
    askAboutJob(
        title, what,
        //: The button that quits the application, stopping the job.
        tr("Quit"),
        [this, quit = std::move(quit)] {
            cancelJob();
            quit();
        },
        //: The button that keeps the application and its job running.
        tr("Keep Going"));
    return true;
}

void AppState::askAboutJob(const QString &title, const QString &message, const QString &answer,
                           std::function<void()> action, const QString &keepGoing)
{
    alertTitle = title;
    alertMessage = message;
    alertPrimaryButton =
        AlertButton::destructiveButton(answer, [state = weakSelf(), action = std::move(action)] {
            if (!state)
                return;
            state->m_askingAboutJob = false;
            action();
        });
    alertSecondaryButton = AlertButton::cancelButton(keepGoing, [state = weakSelf()] {
        if (state)
            state->m_askingAboutJob = false;
    });
    alertCancelButton = std::nullopt;
    m_alertQuestion = Question::aboutJob;
    m_askingAboutJob = true;
    isShowingAlert = true;
}
