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
      isCreatingMedia([this] { announceChange(); }, false),
      isInstallingPKG([this] { announceChange(); }, false),
      progressInfo([this] { announceChange(); }, ProgressInfo()),
      isShowingAlert([this] { announceChange(); }, false),
      alertTitle([this] { announceChange(); }, QString()),
      alertMessage([this] { announceChange(); }, QString()),
      alertPrimaryButton([this] { announceChange(); },
                         AlertButton::defaultButton(QStringLiteral("OK"))),
      alertSecondaryButton([this] { announceChange(); }, std::nullopt),
      isSIPEnabled([this] { announceChange(); }, false),
      isShowingTerminalOverlay([this] { announceChange(); }, false),
      terminalOutput([this] { announceChange(); }, QString()),
      terminalCommand([this] { announceChange(); }, QString()),
      isWaitingForPassword([this] { announceChange(); }, false)
{
    progressInfo.modify([](ProgressInfo &progress) { progress.steps.clear(); });
    // Installers leave their Shared Support volume mounted; clear them away before listing.
    ejectSharedSupportVolumes();
    runAfter(Timing::current().startupRefreshDelay, [this] {
        refreshDiskList();
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
    isShowingAlert = true;
}
