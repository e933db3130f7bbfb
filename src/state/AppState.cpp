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
      alertPrimaryButton([this] { announceChange(); },
                         AlertButton::defaultButton(QStringLiteral("OK"))),
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
    QMetaObject::invokeMethod(
        this,
        [this] {
            const auto &selected = selectedInstaller.get();
            m_windowTitle =
                selected ? extractMacOSName(selected->name) : QStringLiteral("Tessaline");
            emit windowTitleChanged(m_windowTitle);
        },
        Qt::QueuedConnection);
}

void AppState::postToMainThread(const QPointer<AppState> &state,
                                std::function<void(AppState &)> task)
{
    runOnMainThread([state, task = std::move(task)] {
        if (state)
            task(*state);
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
    alertTitle = title;
    alertMessage = message;
    alertPrimaryButton = AlertButton::defaultButton(QStringLiteral("OK"));
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
    return QStringLiteral("Another job is running: wait for it to end or cancel it");
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
    askAboutJob(
        QStringLiteral("Cancel Operation"),
        QStringLiteral("%1 is being erased and written. If you stop now, it is left "
                       "incomplete until you erase it or make it again.")
            .arg(m_jobTargetName),
        QStringLiteral("Stop"), [this] { cancelJob(); }, QStringLiteral("Continue"));
}

void AppState::cancelJob()
{
    if (!m_job)
        return;
    m_job->request();
    // A terminal run still waiting for its password has nothing running that could report.
    if (isShowingTerminalOverlay() && !m_terminalRunning && !progressInfo().isComplete)
        failTerminalRun(QStringLiteral("Cancelled. Nothing was erased."));
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
    const QString checked = progress.verified ? QStringLiteral(" It was verified.") : QString();
    if (progress.success)
        return kind == JobKind::usb        ? QStringLiteral("The bootable USB is ready.") + checked
               : kind == JobKind::iso      ? QStringLiteral("The ISO is ready.") + checked
               : kind == JobKind::download ? QStringLiteral("The installer is in Applications.")
               : kind == JobKind::verify   ? QStringLiteral("The media matches the installer.")
                                           : QStringLiteral("The package is installed.");
    const QString notDone =
        kind == JobKind::usb        ? QStringLiteral("The bootable USB was not made.")
        : kind == JobKind::iso      ? QStringLiteral("The ISO was not made.")
        : kind == JobKind::download ? QStringLiteral("The installer was not downloaded.")
        : kind == JobKind::verify   ? QStringLiteral("The media was not verified.")
                                    : QStringLiteral("The package was not installed.");
    const QString why = progress.errorMessage.value_or(QString()).isEmpty()
                            ? progress.message
                            : *progress.errorMessage;
    return why.isEmpty() ? notDone : notDone + u' ' + why;
}

bool AppState::askBeforeQuitting(std::function<void()> quit)
{
    if (!m_job)
        return false;
    const JobKind kind = jobKind();
    const QString doing = m_verifying                 ? QStringLiteral("checking the media")
                          : kind == JobKind::usb      ? QStringLiteral("making the bootable USB")
                          : kind == JobKind::iso      ? QStringLiteral("making the ISO")
                          : kind == JobKind::download ? QStringLiteral("downloading the installer")
                                                      : QStringLiteral("installing the package");
    const QString what =
        m_verifying ? QStringLiteral("The media stays as it was written, but unchecked.")
        : jobHasErasedTarget()
            ? QStringLiteral("The drive being written is left erased and incomplete.")
        : kind == JobKind::iso      ? QStringLiteral("The partial disk image is removed.")
        : kind == JobKind::download ? QStringLiteral("What was downloaded so far is removed.")
                                    : QStringLiteral("Nothing has been erased yet.");
    askAboutJob(
        QStringLiteral("Quit and stop %1?").arg(doing), what, QStringLiteral("Quit"),
        [this, quit = std::move(quit)] {
            cancelJob();
            quit();
        },
        QStringLiteral("Keep Going"));
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
    m_askingAboutJob = true;
    isShowingAlert = true;
}
