// Downloading a full installer from Apple into Applications, as a job.

#include "state/AppState.h"

#include "exec/JobThreads.h"
#include "exec/MainThread.h"
#include "media/FullInstallerTool.h"

#include <QCoreApplication>

namespace {

void report(const QPointer<AppState> &state, std::function<void(ProgressInfo &)> change)
{
    runOnMainThread(
        state, [change = std::move(change)](AppState &app) { app.progressInfo.modify(change); });
}

// How a download that did not succeed ended, for the record's error.
QString failureOf(const FullInstallerTool::Download &download)
{
    QString text = download.cancelled ? QCoreApplication::translate("AppState", "Cancelled.")
                                      : download.failure;
    if (!download.detail.isEmpty())
        text += u'\n' + download.detail;
    if (download.removedPartialApp)
        text += QCoreApplication::translate(
            "AppState", "\nThe incomplete installer it left in Applications was removed.");
    if (download.changedExistingApp)
        text += QCoreApplication::translate(
            "AppState", "\nThe installer that was in Applications was being replaced and "
                        "may be incomplete: download it again before using it.");
    return text;
}

} // namespace

void AppState::downloadInstaller(const AvailableInstaller &offered)
{
    if (isBusy())
        return;
    if (offered.deferred) {
        showError(tr("Download Error"),
                  //: %1 is the installer's title and version ("macOS Sequoia 15.3").
                  tr("%1 is deferred by your organisation: this Mac may not download it yet.")
                      .arg(offered.title + u' ' + offered.version));
        return;
    }
    if (const std::optional<QString> missing = spaceMissingFor(offered)) {
        showError(tr("Not Enough Space"), *missing);
        return;
    }
    isDownloadingInstaller = true;
    const QString name = offered.title + u' ' + offered.version;
    progressInfo.modify([&](ProgressInfo &progress) {
        progress.reset();
        progress.setupSteps(ProgressInfo::OperationType::installerDownload);
        progress.currentStep = 0;
        //: %1 is the installer's title and version ("macOS Sequoia 15.3").
        progress.message = tr("Asking Apple for %1...").arg(name);
    });

    JobThreads::start(beginJob(JobKind::download), [state = weakSelf(), offered, name] {
        bool downloading = false;
        const FullInstallerTool::Download download =
            FullInstallerTool::fetch(offered, [&](double percent) {
                const bool first = !std::exchange(downloading, true);
                report(state, [first, percent, name](ProgressInfo &progress) {
                    if (first)
                        progress.updateCurrentStep(1);
                    //: %1 is the installer's title and version, %2 the percentage downloaded.
                    progress.message =
                        tr("Downloading %1: %2%").arg(name, QString::number(percent, 'f', 0));
                    progress.updateProgressWithinCurrentStep(percent);
                });
            });
        if (!download.succeeded) {
            runOnMainThread(state, [error = failureOf(download)](AppState &app) {
                app.progressInfo.modify(
                    [&](ProgressInfo &progress) { progress.completeAllSteps(false, error); });
                app.endJob();
            });
            return;
        }
        report(state, [](ProgressInfo &progress) {
            progress.updateCurrentStep(2);
            progress.message = tr("Adding the installer to the library...");
        });
        // Read here, off the main thread: reading measures the whole bundle.
        const QString bundle = FullInstallerTool::destination(offered);
        const std::optional<InstallerApp> installer =
            InstallerApp::fromBundle(QUrl::fromLocalFile(bundle));
        runOnMainThread(state, [installer, bundle](AppState &app) {
            if (installer)
                app.addDownloadedInstaller(*installer);
            app.progressInfo.modify([&](ProgressInfo &progress) {
                if (installer) {
                    progress.outputPath = bundle;
                    progress.completeAllSteps(true, std::nullopt);
                } else
                    progress.completeAllSteps(
                        false, tr("The downloaded installer at %1 cannot be read").arg(bundle));
            });
            app.endJob();
        });
    });
}

void AppState::addDownloadedInstaller(const InstallerApp &installer)
{
    QList<InstallerApp> listed;
    for (const InstallerApp &known : installers())
        if (known.bundlePath() != installer.bundlePath())
            listed << known;
    listed << installer;
    installers = sortInstallers(listed);
    selectedInstaller = installer;
    // Selected at once, as the user asked for it; its signature is checked as every listed one
    // is, and again by the job that uses it.
    checkSignatures({installer});
}
