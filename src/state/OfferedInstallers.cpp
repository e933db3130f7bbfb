// The full installers Apple offers this Mac, as softwareupdate lists them.

#include "state/AppState.h"

#include "exec/JobThreads.h"
#include "exec/MainThread.h"
#include "host/Host.h"
#include "media/FullInstallerTool.h"
#include "model/ByteFormat.h"

#include <QFileInfo>

void AppState::listOfferedInstallers()
{
    if (isListingOfferedInstallers())
        return;
    isListingOfferedInstallers = true;
    offeredInstallersFailure = QString();
    // A listing of its own: quitting stops it, and no job waits for it.
    JobThreads::start(std::make_shared<Cancellation>(), [state = weakSelf()] {
        const FullInstallerTool::Listing listing = FullInstallerTool::list();
        runOnMainThread(state, [listing](AppState &app) {
            app.isInstallerListingUnsupported = listing.list && listing.list->listingUnsupported;
            app.offeredInstallers =
                listing.list ? listing.list->installers : QList<AvailableInstaller>();
            app.offeredInstallersFailure = listing.failure;
            app.isListingOfferedInstallers = false;
        });
    });
}

bool AppState::hasInApplications(const AvailableInstaller &offered) const
{
    // softwareupdate puts every release of a major version at the same place, so the bundle's
    // name is what tells; the version inside a bundle is the installer's own, not the macOS one.
    const QString wanted = FullInstallerTool::destination(offered);
    for (const InstallerApp &installer : installers())
        if (QFileInfo(installer.bundlePath()) == QFileInfo(wanted))
            return true;
    return false;
}

std::optional<QString> AppState::spaceMissingFor(const AvailableInstaller &offered) const
{
    if (!offered.size)
        return std::nullopt;
    const std::optional<qint64> free =
        Host::current().freeSpace(Host::current().applicationsFolder());
    if (!free || *free >= *offered.size)
        return std::nullopt;
    //: %1 is the installer's title and version, %2-%4 sizes ("12.4 GB").
    return tr("%1 needs %2, but the startup disk has %3 free: free %4 more and try again.")
        .arg(offered.title + u' ' + offered.version, formatGigabytes(*offered.size),
             formatGigabytes(*free), formatGigabytes(*offered.size - *free));
}
