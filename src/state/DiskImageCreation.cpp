// "Create ISO": the confirmation before files on the desktop are replaced, and the disk image
// engine's progress published as it runs.

#include "state/AppState.h"

#include "exec/MainThread.h"
#include "host/Host.h"
#include "media/DMGCreator.h"
#include "model/PathEntry.h"

#include <QFileInfo>

void AppState::createBootableDMG()
{
    if (isBusy())
        return;
    if (!selectedInstaller()) {
        showError(tr("Error"), tr("No installer selected"));
        return;
    }
    const InstallerApp installer = *selectedInstaller();
    if (refuseUntrusted(installer))
        return;
    // The engine names its files after the installer's full name, so those are the files the
    // run would replace, and the name the question shows.
    const QString baseName = asPathEntry(installer.name);
    const QString desktop = Host::current().desktopFolder();
    const bool exists = QFileInfo::exists(desktop + u'/' + baseName + QStringLiteral(".dmg")) ||
                        QFileInfo::exists(desktop + u'/' + baseName + QStringLiteral(".iso"));
    if (!exists) {
        proceedWithDMGCreation(installer);
        return;
    }
    m_alertQuestion = Question::replaceFiles;
    alertTitle = tr("File Already Exists");
    //: %1 is the file's name without its extension.
    alertMessage = tr("A DMG or ISO file with the name '%1' already exists on your "
                      "desktop. Do you want to replace it?")
                       .arg(baseName);
    alertPrimaryButton =
        AlertButton::destructiveButton(tr("Replace"), [state = weakSelf(), installer] {
            if (state)
                state->proceedWithDMGCreation(installer);
        });
    alertSecondaryButton = AlertButton::cancelButton();
    isShowingAlert = true;
}

void AppState::proceedWithDMGCreation(const InstallerApp &unchecked)
{
    verifyThen(unchecked, JobKind::iso,
               [this](const InstallerApp &installer) { makeDMG(installer); });
}

void AppState::makeDMG(const InstallerApp &installer)
{
    // The job first: the overlay that isCreatingMedia brings up shows the job's kind.
    const Cancellation::Scope job(beginJob(JobKind::iso));
    m_jobSource = installer.bundlePath();
    isCreatingMedia = true;
    successProcessed = false;
    ProgressInfo planned;
    planned.setupSteps(ProgressInfo::OperationType::dmgCreation);
    progressInfo = withCheckToCome(planned);
    DMGCreator().createBootableDMG(installer, [state = weakSelf()](const ProgressInfo &record) {
        runOnMainThread(state, [record = record.handedOver()](AppState &app) {
            app.applyMediaReport(record, [&app] { app.ejectSharedSupportVolumes(); });
        });
    });
}
