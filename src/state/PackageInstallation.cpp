// Installing an installer application from an InstallAssistant package: automatically, with the
// system's package installer and administrator rights, or by hand in the system's Installer.

#include "state/AppState.h"

#include "exec/AdministratorRights.h"
#include "exec/AppleScriptHelper.h"
#include "exec/ChildProcess.h"
#include "exec/JobFolder.h"
#include "exec/JobThreads.h"
#include "exec/MainThread.h"
#include "host/Host.h"
#include "model/InstallerToolAnswer.h"
#include "model/ShellQuote.h"
#include "model/Timing.h"
#include "model/Utf8Text.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

namespace {

void updateProgress(const QPointer<AppState> &state, std::function<void(ProgressInfo &)> change)
{
    runOnMainThread(
        state, [change = std::move(change)](AppState &app) { app.progressInfo.modify(change); });
}

// Reports a package installation that could not even start the installer.
void failPreparation(const QPointer<AppState> &state, const QString &reason)
{
    runOnMainThread(state, [reason](AppState &app) {
        app.progressInfo.modify([&](ProgressInfo &progress) {
            //: %1 is why the package could not be prepared.
            progress.completeAllSteps(
                false, QCoreApplication::translate("AppState",
                                                   "Failed to prepare package installation: %1")
                           .arg(reason));
        });
        // The result stays until it is put away.
        app.endJob();
    });
}

// Copies the package into `folder` as installer.pkg; the error when it could not.
std::optional<QString> copyPackage(const QString &package, const JobFolder &folder)
{
    QFile source(package);
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    QString error;
    const std::unique_ptr<QFile> copy = folder.createFile(QStringLiteral("installer.pkg"), &error);
    if (!copy)
        return error;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    while (true) {
        const qint64 read = source.read(chunk.data(), chunk.size());
        if (read < 0)
            return source.errorString();
        if (read == 0)
            return copy->flush() ? std::nullopt : std::optional(copy->errorString());
        if (copy->write(chunk.constData(), read) != read)
            return copy->errorString();
    }
}

} // namespace

void AppState::handlePKGInstaller(const QUrl &url)
{
    if (isBusy())
        return;
    m_alertQuestion = Question::installPackage;
    alertTitle = tr("Install Package");
    alertMessage = tr("How would you like to install this macOS installer package?");
    alertPrimaryButton =
        AlertButton::defaultButton(tr("Install Automatically"), [state = weakSelf(), url] {
            if (state)
                state->installPKGAutomated(url);
        });
    //: A button: opens the package in the system's Installer application.
    alertSecondaryButton =
        AlertButton::defaultButton(tr("Open in Installer"), [state = weakSelf(), url] {
            if (state)
                state->openInstallerApp(url);
        });
    alertCancelButton = AlertButton::cancelButton();
    isShowingAlert = true;
}

void AppState::installPKGAutomated(const QUrl &url)
{
    if (isBusy())
        return;
    isInstallingPKG = true;
    progressInfo.modify([](ProgressInfo &progress) {
        progress.reset();
        progress.setupSteps(ProgressInfo::OperationType::pkgInstallation);
        progress.currentStep = 0;
        progress.steps[0].inProgress = true;
        progress.message = tr("Preparing package installation...");
    });

    JobThreads::start(beginJob(JobKind::package), [state = weakSelf(), url] {
        const QString package = url.toLocalFile();
        if (!QFileInfo::exists(package)) {
            failPreparation(state, tr("Package file not found at: %1").arg(package));
            return;
        }
        updateProgress(state, [](ProgressInfo &progress) {
            progress.updateProgressWithinCurrentStep(50, tr("Creating temporary directory..."));
        });
        // The copy goes with the folder however the run ends.
        auto folder = std::make_unique<JobFolder>(QStringLiteral("PKGInstall"));
        if (!folder->isValid()) {
            failPreparation(
                state,
                tr("The temporary folder could not be created: %1").arg(folder->errorString()));
            return;
        }
        updateProgress(state, [](ProgressInfo &progress) {
            progress.updateProgressWithinCurrentStep(100, tr("Temporary directory created"));
            progress.updateCurrentStep(1);
            progress.updateProgressWithinCurrentStep(0, tr("Copying installer package..."));
        });
        const QString copy = folder->filePath(QStringLiteral("installer.pkg"));
        if (const std::optional<QString> error = copyPackage(package, *folder)) {
            failPreparation(state, *error);
            return;
        }
        updateProgress(state, [](ProgressInfo &progress) {
            progress.updateProgressWithinCurrentStep(100, tr("Package copied successfully"));
            progress.updateCurrentStep(2);
            progress.updateProgressWithinCurrentStep(0,
                                                     tr("Installing macOS Installer package..."));
        });

        // Only the copy's path reaches the shell, always in single quotes. The tool's own path is
        // quoted too: on a stand-in Mac it lies below a folder that may be called anything.
        const Host host = Host::current();
        const QString command =
            shellCommand({host.installer(), QStringLiteral("-pkg"), copy, QStringLiteral("-target"),
                          host.applicationsFolder()});
        const AppleScriptHelper::Result result = AppleScriptHelper::runScript(
            AdministratorRights::promptScript(command), Timing::current().packageInstallLimit);

        if (Cancellation::current()->isRequested()) {
            runOnMainThread(state, [](AppState &app) {
                app.progressInfo.modify([](ProgressInfo &progress) {
                    progress.completeAllSteps(false, tr("Cancelled. If the installer app was begun "
                                                        "in Applications, it is incomplete: "
                                                        "delete it."));
                });
                app.endJob();
            });
            return;
        }
        if (const auto failure = packageInstallationFailure(result.status, result.output)) {
            runOnMainThread(state, [url, failure = *failure](AppState &app) {
                app.progressInfo.modify(
                    [&](ProgressInfo &progress) { progress.completeAllSteps(false, failure); });
                app.isInstallingPKG = false;
                app.endJob();
                app.m_alertQuestion = Question::installByHand;
                app.alertTitle = tr("Installation Error");
                app.alertMessage = tr("Failed to install automatically. Would you like "
                                      "to try the manual installation method instead?");
                //: A button: opens the package in the system's Installer application.
                app.alertPrimaryButton = AlertButton::defaultButton(
                    tr("Open in Installer"), [state = app.weakSelf(), url] {
                        if (state)
                            state->openInstallerApp(url);
                    });
                app.alertSecondaryButton = AlertButton::cancelButton();
                app.isShowingAlert = true;
            });
            return;
        }

        // The installer has already finished; these steps only let the user see it happen.
        for (int percent = 10; percent <= 90; percent += 10) {
            updateProgress(state, [percent](ProgressInfo &progress) {
                progress.updateProgressWithinCurrentStep(percent);
            });
            QThread::msleep(ulong(Timing::current().packageProgressInterval.count()));
        }
        updateProgress(state, [](ProgressInfo &progress) {
            progress.updateProgressWithinCurrentStep(100, tr("Installation completed"));
            progress.updateCurrentStep(3);
            progress.updateProgressWithinCurrentStep(0, tr("Cleaning up..."));
        });
        folder.reset();
        runOnMainThread(state, [](AppState &app) {
            app.progressInfo.modify([](ProgressInfo &progress) {
                progress.updateProgressWithinCurrentStep(100, tr("Cleanup completed"));
                progress.completeAllSteps(true, std::nullopt);
            });
            app.endJob();
            app.runAfter(Timing::current().packageSearchDelay, [&app] {
                app.isInstallingPKG = false;
                app.findInstalledApp();
            });
        });
    });
}

void AppState::openInstallerApp(const QUrl &url)
{
    QThreadPool::globalInstance()->start([state = weakSelf(), url] {
        // open hands the package to the Installer application and returns at once; it says
        // on its standard error why it could not.
        ChildProcess opener(Host::current().open(), {url.toLocalFile()});
        bool started = opener.start();
        QString error = opener.errorString();
        if (started) {
            const bool finished = opener.waitForExit(Timing::current().commandLimit);
            const QString said = decodeUtf8(opener.readRemainingError()).trimmed();
            started = finished && opener.exitStatus() == 0;
            if (!started)
                error = said.isEmpty() ? QStringLiteral("open: %1").arg(opener.exitStatus()) : said;
        }
        runOnMainThread(state, [started, error](AppState &app) {
            if (started)
                app.showAlert(tr("Installing Package"),
                              //: 'Scan for Installers' is the button of the window that scans.
                              tr("The installer has been opened. After installation completes, "
                                 "click 'Scan for Installers' to detect the new macOS installer."));
            else
                app.showError(tr("Error"),
                              //: %1 is why the system could not open it.
                              tr("Failed to open the installer package: %1").arg(error));
        });
    });
}
