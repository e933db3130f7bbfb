// The installer library of AppState: the scan of the Applications folder, its order, adding an
// installer the user picks, and finding the installer a package has just installed.

#include "state/AppState.h"

#include "exec/MainThread.h"
#include "host/Host.h"
#include "model/FolderListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QThread>
#include <QThreadPool>

#include <algorithm>

namespace {

bool looksLikeInstaller(const QString &fileName)
{
    return fileName.contains(QLatin1String("Install macOS")) ||
           fileName.contains(QLatin1String("Install OS X"));
}

// Reads every installer directly in the Applications folder, on the calling background thread,
// reporting progress from 30 % to 30 + `progressSpan` % on the way. `onFound` hears of each
// installer read. Nothing when the folder cannot be listed (`error` says why).
std::optional<QList<InstallerApp>>
readInstallersFolder(const QPointer<AppState> &state, double progressSpan, QString *error,
                     const std::function<void(const InstallerApp &)> &onFound)
{
    const QString folder = Host::current().applicationsFolder();
    const std::optional<QStringList> names = listFolder(folder, error);
    if (!names)
        return std::nullopt;
    QList<InstallerApp> found;
    const qsizetype count = names->size();
    for (qsizetype position = 0; position < count; ++position) {
        const QString &name = names->at(position);
        if (position % 5 == 0) {
            const double percentage = 30 + (double(position) / double(count)) * progressSpan;
            runOnMainThread(state, [percentage, name](AppState &app) {
                app.progressInfo.modify([&](ProgressInfo &progress) {
                    progress.percentage = percentage;
                    //: %1 is the name of an item in the Applications folder.
                    progress.updateDetailMessage(
                        QCoreApplication::translate("AppState", "Examining %1").arg(name));
                });
            });
        }
        if (!looksLikeInstaller(name))
            continue;
        if (auto installer = InstallerApp::fromBundle(QUrl::fromLocalFile(folder + u'/' + name))) {
            found << *installer;
            onFound(*installer);
        }
    }
    return found;
}

void postDetail(const QPointer<AppState> &state, const QString &detail)
{
    runOnMainThread(state, [detail](AppState &app) {
        app.progressInfo.modify(
            [&](ProgressInfo &progress) { progress.updateDetailMessage(detail); });
    });
}

} // namespace

QString AppState::extractMacOSName(const QString &name)
{
    QString result = name;
    if (result.startsWith(QLatin1String("Install ")))
        result.remove(0, 8);
    if (!result.startsWith(QLatin1String("macOS")) && !result.startsWith(QLatin1String("OS X")))
        result.prepend(QLatin1String("macOS "));
    return result;
}

QList<InstallerApp> AppState::sortInstallers(QList<InstallerApp> installers)
{
    std::stable_sort(installers.begin(), installers.end(),
                     [](const InstallerApp &a, const InstallerApp &b) { return b < a; });
    return installers;
}

void AppState::scanForInstallers()
{
    isScanning = true;
    progressInfo.modify([](ProgressInfo &progress) {
        progress.reset();
        progress.message = ProgressInfo::scanningMessage();
    });
    QThreadPool::globalInstance()->start([state = weakSelf()] {
        runOnMainThread(state, [](AppState &app) {
            app.progressInfo.modify([](ProgressInfo &progress) {
                progress.updateDetailMessage(tr("Examining Applications folder..."));
                progress.percentage = 30;
            });
        });
        QString error;
        const auto found = readInstallersFolder(state, 50, &error, [&](const InstallerApp &app) {
            //: %1 is the installer's name.
            postDetail(state, tr("Found installer: %1").arg(app.name));
        });
        if (!found) {
            runOnMainThread(state, [error](AppState &app) {
                app.progressInfo.modify([&](ProgressInfo &progress) {
                    progress.markComplete(false, {},
                                          //: %1 is why the folder could not be listed.
                                          tr("Failed to scan Applications folder: %1").arg(error));
                });
                app.runAfter(Timing::current().scanFailureDelay,
                             [&app] { app.isScanning = false; });
            });
            return;
        }
        const QList<InstallerApp> sorted = sortInstallers(*found);
        runOnMainThread(state, [sorted](AppState &app) {
            app.progressInfo.modify([&](ProgressInfo &progress) {
                progress.percentage = 100;
                progress.message = tr("Scan completed");
                //: %1 is how many installers were found.
                progress.updateDetailMessage(
                    tr("Found %1 macOS installers").arg(QString::number(sorted.size())));
            });
            app.installers = sorted;
            // The list shows at once; each entry's signature follows, and the first signed one
            // is selected when nothing is.
            app.checkSignatures(sorted);
            app.runAfter(Timing::current().scanFinishDelay, [&app] {
                app.isScanning = false;
                app.selectFirstTrusted();
            });
        });
    });
}

void AppState::addInstallerFromFinder()
{
    if (!m_filePicker)
        return;
    const std::optional<QUrl> chosen = m_filePicker->pickInstallerOrPackage();
    if (!chosen || chosen->isEmpty())
        return;
    if (QFileInfo(chosen->path()).suffix().toLower() == QLatin1String("pkg")) {
        handlePKGInstaller(*chosen);
        return;
    }
    const std::optional<InstallerApp> installer = InstallerApp::fromBundle(*chosen);
    if (!installer) {
        showError(tr("Invalid Installer"),
                  tr("The selected application doesn't appear to be a valid macOS installer."));
        return;
    }
    const QString path = installer->bundlePath();
    const bool listed =
        std::any_of(installers().begin(), installers().end(),
                    [&](const InstallerApp &known) { return known.bundlePath() == path; });
    if (!listed)
        installers = sortInstallers(installers() + QList<InstallerApp>{*installer});
    selectedInstaller = *installer;
    checkSignatures({*installer});
}

void AppState::findInstalledApp()
{
    isScanning = true;
    progressInfo.modify([](ProgressInfo &progress) {
        progress.reset();
        progress.message = tr("Locating installed macOS Installer...");
    });
    QSet<QString> knownPaths;
    for (const InstallerApp &installer : installers())
        knownPaths.insert(installer.bundlePath());

    QThreadPool::globalInstance()->start([state = weakSelf(), knownPaths] {
        // The package's installer may still be settling into place.
        QThread::msleep(ulong(Timing::current().installedAppSearchPause.count()));
        runOnMainThread(state, [](AppState &app) {
            app.progressInfo.modify([](ProgressInfo &progress) {
                progress.percentage = 30;
                progress.updateDetailMessage(tr("Searching Applications folder..."));
            });
        });
        QString error;
        QList<InstallerApp> newlyFound;
        const auto found = readInstallersFolder(state, 60, &error, [&](const InstallerApp &app) {
            if (knownPaths.contains(app.bundlePath()))
                return;
            newlyFound << app;
            //: %1 is the installer's name.
            postDetail(state, tr("Found new installer: %1").arg(app.name));
        });
        if (!found) {
            runOnMainThread(state, [error](AppState &app) {
                app.progressInfo.modify([&](ProgressInfo &progress) {
                    progress.markComplete(
                        false, {},
                        //: %1 is why the folder could not be listed.
                        tr("Failed to locate installed application: %1").arg(error));
                });
                app.runAfter(Timing::current().scanFailureDelay,
                             [&app] { app.isScanning = false; });
            });
            return;
        }
        const QList<InstallerApp> sorted = sortInstallers(*found);
        runOnMainThread(state, [sorted, newlyFound](AppState &app) {
            app.progressInfo.modify([](ProgressInfo &progress) { progress.percentage = 100; });
            app.installers = sorted;
            app.checkSignatures(sorted);
            if (newlyFound.isEmpty()) {
                app.progressInfo.modify([](ProgressInfo &progress) {
                    progress.updateDetailMessage(tr("The macOS Installer package was installed, "
                                                    "but no new installer application was "
                                                    "detected"));
                    progress.markComplete(false);
                });
                app.runAfter(Timing::current().scanFailureDelay,
                             [&app] { app.isScanning = false; });
                return;
            }
            app.selectedInstaller = newlyFound.first();
            app.progressInfo.modify([&](ProgressInfo &progress) {
                //: %1 is how many new installers were found.
                progress.updateDetailMessage(
                    tr("Found %1 new macOS installer(s)").arg(QString::number(newlyFound.size())));
                progress.markComplete(true);
            });
            app.runAfter(Timing::current().newInstallerFoundDelay, [&app] {
                app.isScanning = false;
                app.refreshDiskList();
            });
        });
    });
}
