// The normal way of making a bootable USB volume: the installer's createinstallmedia runs with
// administrator rights asked for through the system's prompt, and its output becomes progress.

#include "media/USBRun.h"

#include "disk/DiskUtility.h"
#include "exec/AppleScriptHelper.h"
#include "exec/JobThreads.h"
#include "exec/MainThread.h"
#include "media/InstallMediaFailure.h"

#include <QCoreApplication>
#include <QThread>

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

namespace {

using Phase = InstallMediaOutput::Phase;

// The step of the USB table a phase belongs to: erasing, preparing the disk (from Monterey on
// that includes making it bootable), copying, making bootable; the last step is the program's own
// check after the tool has exited.
qint64 stepOf(const InstallMediaOutput &output)
{
    switch (output.phase()) {
    case Phase::starting:
    case Phase::erasing:
        return 0;
    case Phase::preparing:
        return 1;
    case Phase::makingBootable:
        return output.bootableBeforeCopy() ? 1 : 3;
    case Phase::copying:
        return 2;
    case Phase::copyingBootFiles:
    case Phase::finishing:
        return 3;
    }
    return 0;
}

// How far through its step the phase is; phases without figures take fixed marks.
double withinStepOf(const InstallMediaOutput &output)
{
    switch (output.phase()) {
    case Phase::starting:
        return 0;
    case Phase::erasing:
    case Phase::copying:
        return output.percent().value_or(0);
    case Phase::preparing:
        return 50;
    case Phase::makingBootable:
        return output.bootableBeforeCopy() ? 80 : 25;
    case Phase::copyingBootFiles:
        return 60;
    case Phase::finishing:
        return 100;
    }
    return 0;
}

} // namespace

void handleInstallMediaOutput(UsbRun &run, InstallMediaOutput::Stream stream, const QString &chunk)
{
    InstallMediaOutput &output = run.output;
    output.read(stream, chunk);
    if (output.phase() == Phase::starting)
        return;
    ProgressInfo &progress = run.progress;
    progress.targetErased = true;
    const qint64 step = stepOf(output);
    if (step > progress.currentStep)
        progress.updateCurrentStep(step);
    if (step == progress.currentStep && progress.hasCurrentStep() &&
        withinStepOf(output) >= progress.steps[step].progressWithinStep)
        progress.updateProgressWithinCurrentStep(withinStepOf(output), output.message());
    run.publish();
}

namespace {

void fail(UsbRun &run, const QString &error,
          const QString &message = QCoreApplication::translate("USBCreator", "USB creation failed"))
{
    ProgressInfo &progress = run.progress;
    if (progress.currentStep >= 0 && progress.currentStep < progress.steps.size())
        progress.steps[progress.currentStep].inProgress = false;
    progress.isComplete = true;
    progress.success = false;
    progress.message = message;
    progress.errorMessage = error;
    run.publish();
}

void succeed(UsbRun &run, const QString &installerVolume)
{
    ProgressInfo &progress = run.progress;
    progress.updateProgressWithinCurrentStep(
        100, QCoreApplication::translate("USBCreator", "Bootable USB creation completed"));
    run.publish();
    progress.completeAllSteps(true, std::nullopt);
    progress.message =
        QCoreApplication::translate("USBCreator", "Bootable USB creation successful!");
    progress.updateDetailMessage(QCoreApplication::translate(
        "USBCreator", "Your USB drive is ready to boot macOS installer"));
    progress.outputPath = installerVolume;
    run.publish();
}

// The tool's status 0 is only its word: the run succeeds once the new volume is found.
void finish(const std::shared_ptr<UsbRun> &run, const DiskInfo &target, int status,
            const std::optional<QString> &error)
{
    if (run->cancellation && run->cancellation->isRequested()) {
        return fail(*run, cancelledInstallMediaMessage(run->output, target.volumeName),
                    QCoreApplication::translate("USBCreator", "USB creation cancelled"));
    }
    if (status != 0) {
        const QString number = QString::number(status);
        //: %1 is the command's exit status, a number.
        run->progress.updateDetailMessage(
            QCoreApplication::translate("USBCreator", "The command ended with status %1")
                .arg(number));
        //: %1 is the command's exit status, a number.
        return fail(*run,
                    installMediaFailure(run->output, error,
                                        QCoreApplication::translate(
                                            "USBCreator", "Process terminated with status: %1")
                                            .arg(number)));
    }
    run->progress.updateDetailMessage(
        QCoreApplication::translate("USBCreator", "Checking the new installer volume"));
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
    run->cancellation = Cancellation::current();
    ProgressInfo &progress = run->progress;
    progress.setupSteps(ProgressInfo::OperationType::usbCreation);
    progress.currentStep = 0;
    progress.percentage = 0;
    progress.message = tr("Starting bootable USB creation");
    progress.updateDetailMessage(tr("Validating disk and installer"));
    run->publish();

    // The whole disk must hold the whole installer; no margin is added.
    if (to.size < from.size) {
        const QString error = tr("The selected disk doesn't have enough space for this installer");
        progress.isComplete = true;
        progress.success = false;
        progress.errorMessage = error;
        //: %1 is why.
        progress.message = tr("Operation failed: %1").arg(error);
        run->publish();
        return;
    }

    const QString command = from.createinstallmediaCommand(to.mountPoint);
    JobThreads::start([run, command, to] {
        // The tool erases first; until it says so the first step waits at its start.
        run->progress.updateDetailMessage(tr("Preparing disk for bootable media"));
        run->publish();

        // The listing may be old by now: the mount point must still be the chosen device's.
        if (const std::optional<QString> refusal = DiskUtility::confirmTarget(to)) {
            runOnMainThread([run, refusal] { fail(*run, *refusal); });
            return;
        }
        if (run->cancellation && run->cancellation->isRequested()) {
            runOnMainThread([run, to] { finish(run, to, -1, std::nullopt); });
            return;
        }
        AppleScriptHelper::runShellCommandWithAdminPrivilegesAsync(
            command,
            [run](const QString &chunk) {
                handleOnMainThread([run, chunk] {
                    handleInstallMediaOutput(*run, InstallMediaOutput::Stream::output, chunk);
                });
            },
            [run](const QString &chunk) {
                handleOnMainThread([run, chunk] {
                    handleInstallMediaOutput(*run, InstallMediaOutput::Stream::error, chunk);
                });
            },
            [run, to](int status, const std::optional<QString> &,
                      const std::optional<QString> &error) { finish(run, to, status, error); });
    });
}
