// "Create Bootable USB": confirmation, the choice between the system's administrator prompt and
// the terminal path with its password, and the follow-up once the installer volume is made.

#include "state/AppState.h"

#include "disk/DiskUtility.h"
#include "exec/AppleScriptHelper.h"
#include "exec/AppleScriptString.h"
#include "exec/JobFolder.h"
#include "exec/MainThread.h"
#include "host/Host.h"
#include "media/InstallMediaFailure.h"
#include "media/USBCreator.h"
#include "model/Diagnostics.h"
#include "model/OutputTail.h"
#include "model/SudoPasswordCheck.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QThreadPool>

#include <memory>

namespace {

// Where the terminal path's bar stands once the password is given, before the tool says anything.
constexpr double terminalStartPercentage = 5;

// Larger than any installer stick needs: more likely a backup disk chosen by mistake.
constexpr qint64 unusuallyLargeTarget = 128'000'000'000;

// Whether `path` lies on the volume mounted at `mountPoint`.
bool isOnVolume(const QString &path, const QString &mountPoint)
{
    if (mountPoint.isEmpty())
        return false;
    const QString inside = mountPoint.endsWith(u'/') ? mountPoint : mountPoint + u'/';
    return QDir::cleanPath(path).startsWith(inside);
}

} // namespace

std::optional<QString> AppState::whyNotTarget(const DiskInfo &disk) const
{
    // Erasing the volume would destroy the installer while it is being copied.
    if (selectedInstaller() && isOnVolume(selectedInstaller()->bundlePath(), disk.mountPoint))
        //: Why a volume cannot be chosen as the target; shown after its name or device.
        return tr("holds the selected installer");
    return std::nullopt;
}

void AppState::createBootableUSB()
{
    if (isBusy())
        return;
    if (!selectedInstaller()) {
        showError(tr("Error"), tr("No installer selected"));
        return;
    }
    if (!selectedDisk()) {
        showError(tr("Error"), tr("No target disk selected"));
        return;
    }
    // The run uses what the confirmation showed, whatever is selected when it is answered.
    const InstallerApp installer = *selectedInstaller();
    const DiskInfo disk = *selectedDisk();
    if (refuseUntrusted(installer))
        return;
    if (whyNotTarget(disk)) {
        showError(tr("Cannot Use This Volume"),
                  //: %1 is the volume's name, %2 the installer's.
                  tr("'%1' holds the installer '%2'. Choose another volume, or copy "
                     "the installer to Applications first.")
                      .arg(disk.volumeName, installer.name));
        return;
    }
    m_alertQuestion = Question::eraseTarget;
    alertTitle = tr("Warning");
    //: %1 is the volume's name, %2 its device ("disk4s2").
    QString question = tr("This will erase all data on '%1' (%2). Are you sure you "
                          "want to continue?")
                           .arg(disk.volumeName, disk.deviceIdentifier);
    if (disk.size > unusuallyLargeTarget)
        //: A second paragraph of the question; %1 is the volume's name, %2 its size ("256 GB").
        question += tr("\n\n'%1' is unusually large for an installer (%2): make sure "
                       "it is the drive you mean to erase.")
                        .arg(disk.volumeName, disk.formattedSize());
    alertMessage = question;
    const auto eraseAndCreate = [state = weakSelf(), installer, disk] {
        if (!state)
            return;
        state->verifyThen(installer, JobKind::usb, [state, disk](const InstallerApp &installer) {
            DiskUtility::checkSIPStatus([state, installer, disk](bool enabled) {
                if (!state)
                    return;
                state->isSIPEnabled = enabled;
                state->successProcessed = false;
                ProgressInfo planned;
                planned.setupSteps(ProgressInfo::OperationType::usbCreation);
                state->progressInfo = state->withCheckToCome(planned);
                if (enabled)
                    state->proceedWithTerminalUSBCreation(installer, disk);
                else
                    state->proceedWithUSBCreation(installer, disk);
            });
        });
    };
    alertPrimaryButton = AlertButton::destructiveButton(tr("Erase and Create"), eraseAndCreate);
    alertSecondaryButton = AlertButton::cancelButton();
    isShowingAlert = true;
}

void AppState::proceedWithUSBCreation(const InstallerApp &installer, const DiskInfo &disk)
{
    const Cancellation::Scope job(beginJob(JobKind::usb));
    m_jobTargetName = disk.volumeName;
    m_jobSource = installer.bundlePath();
    isCreatingMedia = true;
    USBCreator::createBootableUSB(
        installer, disk, [state = weakSelf()](const ProgressInfo &record) {
            runOnMainThread(state, [record = record.handedOver()](AppState &app) {
                app.applyMediaReport(record, [&app, record] {
                    app.ejectSharedSupportVolumes();
                    app.setIconOfNewVolume(record.outputPath);
                });
            });
        });
}

void AppState::proceedWithTerminalUSBCreation(const InstallerApp &installer, const DiskInfo &disk)
{
    beginJob(JobKind::usb);
    m_jobTargetName = disk.volumeName;
    m_jobSource = installer.bundlePath();
    isCreatingMedia = true;
    isShowingTerminalOverlay = true;
    m_terminalTarget = disk;
    const QString name = extractMacOSName(installer.name);
    terminalOutput = tr("Preparing to create bootable USB with Terminal...\n");
    terminalOutput.modify([&](QString &output) {
        output += tr("System Integrity Protection (SIP) is fully enabled on this Mac.\n");
        //: %1 is the macOS name ("macOS Sequoia").
        output += tr("Using terminal approach for bootable USB creation for %1.\n\n").arg(name);
    });

    // The documented form; the command shown is the one run, each path in single quotes.
    m_terminalArguments = installer.createinstallmediaArguments(disk.mountPoint);
    const QString command = USBCreator::terminalCommandText(m_terminalArguments);
    terminalCommand = command;

    terminalOutput.modify([&](QString &output) {
        //: %1 is the command line run through sudo, as it would be typed.
        output += tr("Command: %1\n\n").arg(command);
        output += tr("Please enter your administrator password when prompted.\n");
    });
    isWaitingForPassword = true;
}

void AppState::executeTerminalCommand(Secret password)
{
    isWaitingForPassword = false;
    successProcessed = false;
    ProgressInfo starting;
    starting.percentage = beforeCheck(terminalStartPercentage);
    starting.message = tr("Starting USB creation process...");
    progressInfo = starting;
    terminalOutput.modify([](QString &output) {
        output += tr("\nExecuting command. This may take several minutes...\n");
    });
    m_terminalReading = InstallMediaOutput();
    // A password typed again after a failed try starts a run of its own.
    if (!m_job)
        beginJob(JobKind::usb);
    m_terminalRunning = true;

    // The command erases what the listing called the target; diskutil is asked again first.
    // The tasks are copied; the one buffer is shared between the copies, never copied itself.
    auto secret = std::make_shared<Secret>(std::move(password));
    QThreadPool::globalInstance()->start([state = weakSelf(), target = m_terminalTarget, secret] {
        const std::optional<QString> refusal =
            target ? DiskUtility::confirmTarget(*target)
                   : std::optional(tr("No target disk selected. Nothing was erased."));
        runOnMainThread(state, [refusal, secret](AppState &app) {
            if (app.m_job && app.m_job->isRequested()) {
                app.m_terminalRunning = false;
                return app.failTerminalRun(tr("Cancelled. Nothing was erased."));
            }
            if (!refusal) {
                app.startTerminalCommand(std::move(*secret));
                return;
            }
            app.m_terminalRunning = false;
            app.failTerminalRun(*refusal);
        });
    });
}

void AppState::startTerminalCommand(Secret password)
{
    const QPointer<AppState> state = weakSelf();
    const Cancellation::Scope job(m_job);
    USBCreator::executeTerminalCommand(
        m_terminalArguments, std::move(password),
        [state](const QString &chunk) {
            runOnMainThread(state, [chunk](AppState &app) {
                app.terminalOutput.modify([&](QString &output) {
                    output += chunk;
                    keepTail(output);
                });
                app.readTerminalRun(InstallMediaOutput::Stream::output, chunk);
            });
        },
        [state](const QString &chunk) {
            runOnMainThread(state, [chunk](AppState &app) {
                app.terminalOutput.modify([&](QString &output) {
                    output += chunk;
                    keepTail(output);
                });
                app.readTerminalRun(InstallMediaOutput::Stream::error, withoutSudoPrompt(chunk));
                if (sudoRejectedPassword(chunk)) {
                    app.isWaitingForPassword = true;
                    app.terminalOutput.modify([](QString &output) {
                        output += tr("\nPassword incorrect. Please try again.\n");
                    });
                }
            });
        },
        [state](qint32 status) {
            runOnMainThread(state, [status](AppState &app) {
                app.m_terminalRunning = false;
                if (app.successProcessed)
                    return;
                if (app.m_job && app.m_job->isRequested())
                    return app.failTerminalRun(
                        cancelledInstallMediaMessage(app.m_terminalReading, app.m_jobTargetName));
                if (status != 0) {
                    app.progressInfo.modify([status](ProgressInfo &progress) {
                        //: %1 is the command's exit status, a number.
                        progress.detailMessage =
                            tr("The command ended with status %1").arg(QString::number(status));
                    });
                    return app.failTerminalRun(installMediaFailure(
                        app.m_terminalReading, std::nullopt,
                        //: %1 is the command's exit status, a number.
                        tr("Process exited with code %1").arg(QString::number(status))));
                }
                // Status 0 is only the tool's word: the run succeeds once the volume is found.
                app.terminalOutput.modify([](QString &output) {
                    output += tr("\nChecking the new installer volume...\n");
                });
                const DiskInfo target = app.m_terminalTarget.value_or(DiskInfo());
                DiskUtility::findInstallMedia(
                    target, [state = app.weakSelf()](const DiskUtility::InstallMedia &found) {
                        if (!state || state->successProcessed)
                            return;
                        if (!found.mountPoint)
                            return state->failTerminalRun(found.problem);
                        state->successProcessed = true;
                        ProgressInfo written = state->withCheckToCome(state->progressInfo());
                        written.markComplete(true, tr("USB creation completed successfully"));
                        written.percentage = state->beforeCheck(100);
                        written.outputPath = *found.mountPoint;
                        state->setIconOfNewVolume(*found.mountPoint);
                        state->ejectSharedSupportVolumes();
                        if (state->verifyWrittenMedia(written))
                            return;
                        state->progressInfo = written;
                        state->isCreatingMedia = false;
                        state->endJob();
                        state->refreshDiskList();
                    });
            });
        });
}

void AppState::readTerminalRun(InstallMediaOutput::Stream stream, const QString &chunk)
{
    m_terminalReading.read(stream, chunk);
    if (m_terminalReading.phase() == InstallMediaOutput::Phase::starting)
        return;
    // The tool's own progress, from where the run started up to where its exit takes it.
    progressInfo.modify([&](ProgressInfo &progress) {
        progress.percentage =
            beforeCheck(terminalStartPercentage +
                        m_terminalReading.progress() * (95 - terminalStartPercentage) / 100);
        progress.message = m_terminalReading.message();
    });
}

void AppState::failTerminalRun(const QString &error)
{
    progressInfo.modify([&](ProgressInfo &progress) { progress.markComplete(false, {}, error); });
    terminalOutput.modify([&](QString &output) { output += u'\n' + error + u'\n'; });
    isCreatingMedia = false;
    endJob();
}

void AppState::applyMediaReport(ProgressInfo record, const std::function<void()> &followUp)
{
    // Once the media is being read back, the writing has nothing more to say.
    if (m_verifying)
        return;
    record = withCheckToCome(record);
    if (record.isComplete && record.success && !successProcessed && verifiesMedia()) {
        successProcessed = true;
        followUp();
        verifyWrittenMedia(record);
        return;
    }
    // The record is the run's own: its engine moves it forward only, whatever else was shown.
    progressInfo = record;
    if (!record.isComplete)
        return;
    // The result stays until it is put away; the disk list follows what the run changed.
    endJob();
    if (!record.success || successProcessed)
        return refreshDiskList();
    // A run may report success more than once; its follow-up happens once.
    successProcessed = true;
    followUp();
    refreshDiskList();
}

void AppState::setIconOfNewVolume(const QString &volumePath)
{
    if (selectedInstaller() && !volumePath.isEmpty())
        setVolumeIcon(volumePath, *selectedInstaller());
}

void AppState::setVolumeIcon(const QString &volumePath, const InstallerApp &installer)
{
    // Drawn here: icons are only drawn on the interface thread.
    QImage picture;
    // qGuiApp would be a bad cast in a program without a graphical application.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) && !installer.icon.isNull())
        picture = installer.icon.pixmap(512).toImage();
    // Without a picture (the command line draws none) Finder would only be handed a missing file.
    if (picture.isNull())
        return;
    const QString volumesPrefix = Host::current().volumesFolder() + u'/';
    QString volumeName = volumePath;
    if (volumeName.startsWith(volumesPrefix))
        volumeName.remove(0, volumesPrefix.size());
    else
        volumeName.remove(QStringLiteral("/Volumes/"));

    QThreadPool::globalInstance()->start([picture, volumeName] {
        // The icon file goes with the folder, however this ends.
        const JobFolder folder(QStringLiteral("VolumeIcon"));
        if (!folder.isValid()) {
            printDiagnostic(QStringLiteral("Error setting volume icon: ") + folder.errorString());
            return;
        }
        const QString iconPath = folder.filePath(QStringLiteral("temp_icon.icns"));
        // A real icon file rather than bare image data: Finder takes it as it is.
        QBuffer icon;
        QImageWriter writer(&icon, "icns");
        const bool drawn = icon.open(QIODevice::WriteOnly) && writer.write(picture);
        const std::optional<QString> error =
            drawn ? folder.writeFile(QStringLiteral("temp_icon.icns"), icon.data())
                  : writer.errorString();
        if (error) {
            printDiagnostic(QStringLiteral("Error setting volume icon: ") + *error);
            return;
        }
        const QString script =
            QStringLiteral("tell application \"Finder\"\n    set icon of disk ") +
            appleScriptString(volumeName) + QStringLiteral(" to POSIX file ") +
            appleScriptString(iconPath) + QStringLiteral("\nend tell");
        const AppleScriptHelper::Result result = AppleScriptHelper::runScript(script);
        if (result.status != 0)
            printDiagnostic(QStringLiteral("Failed to set volume icon: ") +
                            result.diagnosticText());
    });
}
