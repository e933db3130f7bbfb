// Installer signatures in AppState: every listed installer is checked with codesign in the
// background, only an Apple-signed one is picked on its own, and a job starts only after a fresh
// check of the very folder its tool will be run from.

#include "state/AppState.h"

#include "exec/MainThread.h"
#include "exec/SignatureCheck.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThreadPool>

namespace {

// The record with its signature checked. The bundle path is resolved first, every link in it
// followed, and the record keeps the resolved path: what is checked is what runs, and a link
// changed after the check cannot send the job elsewhere.
InstallerApp checked(InstallerApp installer)
{
    const QString canonical = QFileInfo(installer.bundlePath()).canonicalFilePath();
    if (canonical.isEmpty()) {
        //: Why an installer's signature could not be checked; %1 is where it was.
        installer.signature = CodeSignature::failed(
            QCoreApplication::translate("AppState", "the installer is no longer at %1")
                .arg(installer.bundlePath()));
        return installer;
    }
    installer.url = QUrl::fromLocalFile(canonical);
    installer.signature = verifyAppleSignature(canonical);
    return installer;
}

QString refusalMessage(const InstallerApp &installer)
{
    //: %1 is the installer's name, %2 its path, %3 what codesign said of it.
    return QCoreApplication::translate("AppState",
                                       "'%1' at %2 is not signed by Apple, so it will not be run "
                                       "with administrator rights.\n\ncodesign: %3")
        .arg(installer.name, installer.bundlePath(), installer.signature.reason);
}

} // namespace

void AppState::checkSignatures(const QList<InstallerApp> &listed)
{
    QThreadPool::globalInstance()->start([state = weakSelf(), listed] {
        for (const InstallerApp &installer : listed) {
            const CodeSignature signature = checked(installer).signature;
            runOnMainThread(state, [id = installer.id, signature](AppState &app) {
                app.recordSignature(id, signature);
            });
        }
        runOnMainThread(state, [](AppState &app) { app.selectFirstTrusted(); });
    });
}

void AppState::recordSignature(const QUuid &id, const CodeSignature &signature)
{
    installers.modify([&](QList<InstallerApp> &list) {
        for (InstallerApp &installer : list)
            if (installer.id == id)
                installer.signature = signature;
    });
    if (selectedInstaller() && selectedInstaller()->id == id)
        selectedInstaller.modify(
            [&](std::optional<InstallerApp> &selected) { selected->signature = signature; });
}

void AppState::selectFirstTrusted()
{
    if (selectedInstaller())
        return;
    // The list runs from newest to oldest; a current signature beats an expired one.
    for (const CodeSignature::State wanted :
         {CodeSignature::State::apple, CodeSignature::State::appleExpired}) {
        for (const InstallerApp &installer : installers()) {
            if (installer.signature.state == wanted) {
                selectedInstaller = installer;
                return;
            }
        }
    }
}

bool AppState::refuseUntrusted(const InstallerApp &installer)
{
    if (!installer.signature.isRefused())
        return false;
    showError(tr("Installer Not Signed by Apple"), refusalMessage(installer));
    return true;
}

void AppState::verifyThen(const InstallerApp &installer, JobKind kind,
                          std::function<void(const InstallerApp &)> proceed)
{
    // The overlay shown from here on is the coming job's.
    jobKind = kind;
    isCreatingMedia = true;
    progressInfo.modify([](ProgressInfo &progress) {
        progress.reset();
        progress.message = tr("Verifying the installer's signature...");
    });
    QThreadPool::globalInstance()->start([state = weakSelf(), installer, proceed] {
        // The bundle may have changed since the library checked it.
        const InstallerApp judged = checked(installer);
        runOnMainThread(state, [judged, proceed](AppState &app) {
            app.recordSignature(judged.id, judged.signature);
            if (!judged.signature.allowsRunning()) {
                app.isCreatingMedia = false;
                app.refuseUntrusted(judged);
                return;
            }
            proceed(judged);
        });
    });
}
