#pragma once

#include <QCoreApplication>
#include <QString>

#include <chrono>

// Every delay and time limit of the program in one place. The defaults are the real ones; tests
// install shorter ones instead of waiting minutes or hours.
struct Timing {
    using Duration = std::chrono::milliseconds;

    // A plain shell command run and waited for.
    Duration commandLimit = std::chrono::minutes(5);
    // An administrator command run through the script runner and waited for.
    Duration adminCommandLimit = std::chrono::minutes(30);
    // A streamed administrator command that has printed nothing yet is taken to be stuck at the
    // password prompt after this long.
    Duration adminRightsWait = std::chrono::minutes(5);
    // A streamed administrator command is stopped after this long.
    Duration adminStreamLimit = std::chrono::hours(3);
    // A command fed the password through the terminal path is stopped after this long.
    Duration terminalCommandLimit = std::chrono::hours(2);
    // An AppleScript (an eject, a Finder request) is stopped after this long.
    Duration scriptLimit = std::chrono::minutes(2);
    // softwareupdate listing the full installers Apple offers; it asks Apple's servers.
    Duration installerListLimit = std::chrono::minutes(2);
    // softwareupdate downloading and installing a full installer (13 GB or more).
    Duration installerDownloadLimit = std::chrono::hours(4);
    // The package installer is stopped after this long.
    Duration packageInstallLimit = std::chrono::hours(1);
    // One hdiutil step (making, attaching, converting or detaching an image) is stopped after
    // this long.
    Duration imageToolLimit = std::chrono::hours(1);
    // The pause before a busy image is detached again.
    Duration detachRetryPause = std::chrono::seconds(2);
    // One diskutil listing or question; a hung one would hold up every later disk question.
    Duration diskToolLimit = std::chrono::seconds(30);
    // csrutil's status; past this, protection is taken to be on.
    Duration protectionStatusLimit = std::chrono::seconds(15);
    // codesign verifying an installer bundle: a deep check of a 13 GB bundle takes minutes.
    Duration signatureCheckLimit = std::chrono::minutes(15);
    // The application's own start-up work waits this long after the state is made.
    Duration startupRefreshDelay = std::chrono::milliseconds(500);
    // After a disk listing arrives, the selected device is selected again this much later.
    Duration diskReselectionDelay = std::chrono::milliseconds(200);
    // Volumes that come or go are listed again once nothing about them has changed for this long.
    Duration volumeChangeSettleDelay = std::chrono::milliseconds(500);
    // How long the scan's final report stays up before the scan is over.
    Duration scanFinishDelay = std::chrono::seconds(1);
    // The search for a freshly installed installer waits this long for it to appear.
    Duration installedAppSearchPause = std::chrono::seconds(1);
    // How long a search that found a new installer shows its result.
    Duration newInstallerFoundDelay = std::chrono::milliseconds(1500);
    // How long a failed scan or search shows its result.
    Duration scanFailureDelay = std::chrono::seconds(2);
    // A tool asked to terminate that is still running this long afterwards is killed.
    Duration terminationGrace = std::chrono::seconds(5);
    // On quitting, a running job has this long to stop; longer than the grace above, so that
    // even a tool that ignores the request is gone by then.
    Duration quitJobLimit = std::chrono::seconds(8);
    // While hdiutil makes or converts a disk image, a "please wait" report follows this often.
    Duration imageToolFeedbackInterval = std::chrono::milliseconds(500);
    // The steps shown after the package installer has finished follow each other this fast.
    Duration packageProgressInterval = std::chrono::milliseconds(300);
    // After a package is installed, the search for its installer starts this much later.
    Duration packageSearchDelay = std::chrono::seconds(1);

    static Timing current();
    // "30 seconds", "5 minutes", "2 hours": a limit as the user is told it.
    static QString describe(Duration duration);
    static void setCurrent(const Timing &timing);

    Q_DECLARE_TR_FUNCTIONS(Timing)
};
