#pragma once

#include "model/FullInstallerList.h"

#include <QString>

#include <functional>
#include <optional>

// macOS's softwareupdate, for the full installers Apple offers: listing them, and downloading
// one into /Applications. Both run on the calling background thread and end with its job.
namespace FullInstallerTool {

struct Listing {
    // What Apple offers; nothing when the tool gave no listing, and then `failure` says why.
    std::optional<FullInstallerList> list;
    QString failure;
};
// Runs softwareupdate --list-full-installers.
Listing list();

// Where a download of `installer` lands: /Applications/Install macOS NAME.app.
QString destination(const AvailableInstaller &installer);

struct Download {
    bool succeeded = false;
    bool cancelled = false;
    // The tool's own words when it failed ("Install failed with error: Update not found"), or
    // why the run was taken for a failure.
    QString failure;
    // What followed the tool's failure line ("Error Domain=…"), if anything.
    QString detail;
    // Whether a half-made installer the run left in Applications was removed.
    bool removedPartialApp = false;
    // Whether an installer that was there before the run was changed or replaced by it, and so
    // may be incomplete now.
    bool changedExistingApp = false;
};
// Runs softwareupdate --fetch-full-installer --full-installer-version VERSION under a
// pseudo-terminal, so that the tool shows its progress; `progress` gets each new percentage on
// the calling thread. A run that fails or is cancelled and leaves an installer in Applications
// that was not there before removes it: a half-installed bundle is of no use. One that was
// there before the run is the user's, and stays.
Download fetch(const AvailableInstaller &installer, const std::function<void(double)> &progress);

} // namespace FullInstallerTool
