// The normal way of making a bootable USB volume: the installer's createinstallmedia runs with
// administrator rights asked for through the system's prompt, and its output becomes progress.

#include "media/USBRun.h"

#include "disk/DiskUtility.h"
#include "exec/AppleScriptHelper.h"
#include "exec/MainThread.h"
#include "model/PrintedPercent.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#include <memory>

namespace {

bool onMainThread()
{
    return QCoreApplication::instance() &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

// The runner's two time-out notices come from a background thread; handled on the main thread
// like every other chunk, they never write the record at the same time as it.
void handleOnMainThread(std::function<void()> handling)
{
    if (onMainThread())
        handling();
    else
        runOnMainThread(std::move(handling));
}

} // namespace

void handleInstallMediaOutput(UsbRun &run, const QString &chunk)
{
    ProgressInfo &progress = run.progress;
    const QString text = run.outputLine.readable(chunk).toLower();
    if (text.contains(QLatin1String("erasing disk"))) {
        progress.updateProgressWithinCurrentStep(
            10, QStringLiteral("Erasing target disk for installation"));
    } else if (text.contains(QLatin1String("copying installer files")) ||
               text.contains(QLatin1String("copying to disk"))) {
        if (const std::optional<PrintedPercent> printed = firstPrintedPercent(text)) {
            progress.updateProgressWithinCurrentStep(
                printed->value * 0.75 + 10,
                QStringLiteral("Copying macOS installer: %1% complete").arg(printed->wholeText));
        } else {
            progress.updateProgressWithinCurrentStep(
                15, QStringLiteral("Copying macOS installer files"));
        }
    } else if (text.contains(QLatin1String("making disk bootable"))) {
        progress.updateCurrentStep(2);
        progress.updateProgressWithinCurrentStep(10,
                                                 QStringLiteral("Creating bootable configuration"));
    } else if (text.contains(QLatin1String("done")) ||
               text.contains(QLatin1String("copy complete")) ||
               text.contains(QLatin1String("install media now available"))) {
        progress.updateProgressWithinCurrentStep(100, QStringLiteral("Drive is now bootable"));
        run.publish();
        progress.updateCurrentStep(3);
        progress.updateProgressWithinCurrentStep(50, QStringLiteral("Finalizing bootable media"));
    } else {
        const QString trimmed = chunk.trimmed();
        if (trimmed.isEmpty())
            return;
        progress.updateDetailMessage(trimmed);
    }
    run.publish();
}

namespace {

void fail(UsbRun &run, const QString &error)
{
    ProgressInfo &progress = run.progress;
    if (progress.currentStep >= 0 && progress.currentStep < progress.steps.size())
        progress.steps[progress.currentStep].inProgress = false;
    progress.isComplete = true;
    progress.success = false;
    progress.message = QStringLiteral("USB creation failed");
    progress.errorMessage = error;
    run.publish();
}

void succeed(UsbRun &run, const QString &installerVolume)
{
    ProgressInfo &progress = run.progress;
    progress.updateProgressWithinCurrentStep(100,
                                             QStringLiteral("Bootable USB creation completed"));
    run.publish();
    progress.completeAllSteps(true, std::nullopt);
    progress.message = QStringLiteral("Bootable USB creation successful!");
    progress.updateDetailMessage(QStringLiteral("Your USB drive is ready to boot macOS installer"));
    progress.outputPath = installerVolume;
    run.publish();
}

// The tool's status 0 is only its word: the run succeeds once the new volume is found.
void finish(const std::shared_ptr<UsbRun> &run, const DiskInfo &target, int status,
            const std::optional<QString> &error)
{
    if (status != 0)
        return fail(*run, error.value_or(
                              QStringLiteral("Process terminated with status: %1").arg(status)));
    run->progress.updateDetailMessage(QStringLiteral("Checking the new installer volume"));
    run->publish();
    DiskUtility::findInstallMedia(target, [run](const DiskUtility::InstallMedia &found) {
        if (found.mountPoint)
            succeed(*run, *found.mountPoint);
        else
            fail(*run, found.problem);
    });
}

} // namespace

void USBCreator::createBootableUSB(const InstallerApp &from, const DiskInfo &to,
                                   ProgressHandler completion)
{
    auto run = std::make_shared<UsbRun>();
    run->report = std::move(completion);
    ProgressInfo &progress = run->progress;
    progress.setupSteps(ProgressInfo::OperationType::usbCreation);
    progress.currentStep = 0;
    progress.percentage = 0;
    progress.message = QStringLiteral("Starting bootable USB creation");
    progress.updateDetailMessage(QStringLiteral("Validating disk and installer"));
    run->publish();

    // The whole disk must hold the whole installer; no margin is added.
    if (to.size < from.size) {
        const QString error =
            QStringLiteral("The selected disk doesn't have enough space for this installer");
        progress.isComplete = true;
        progress.success = false;
        progress.errorMessage = error;
        progress.message = QStringLiteral("Operation failed: ") + error;
        run->publish();
        return;
    }

    const QString command = from.createinstallmediaCommand(to.mountPoint);
    QThreadPool::globalInstance()->start([run, command, to] {
        ProgressInfo &progress = run->progress;
        progress.updateProgressWithinCurrentStep(
            50, QStringLiteral("Preparing disk for bootable media"));
        run->publish();
        progress.updateProgressWithinCurrentStep(100, QStringLiteral("Disk preparation complete"));
        run->publish();
        progress.updateCurrentStep(1);
        progress.updateProgressWithinCurrentStep(0, QStringLiteral("Starting file copy process"));
        run->publish();

        // The listing may be old by now: the mount point must still be the chosen device's.
        if (const std::optional<QString> refusal = DiskUtility::confirmTarget(to)) {
            runOnMainThread([run, refusal] { fail(*run, *refusal); });
            return;
        }
        AppleScriptHelper::runShellCommandWithAdminPrivilegesAsync(
            command,
            [run](const QString &chunk) {
                handleOnMainThread([run, chunk] { handleInstallMediaOutput(*run, chunk); });
            },
            [run](const QString &chunk) {
                handleOnMainThread([run, chunk] {
                    run->progress.updateDetailMessage(QStringLiteral("Error: ") + chunk);
                    run->publish();
                });
            },
            [run, to](int status, const std::optional<QString> &,
                      const std::optional<QString> &error) { finish(run, to, status, error); });
    });
}
