#pragma once

#include "model/Timing.h"

#include <chrono>

// The application's delays shrunk for tests that drive the state: every pause a few
// milliseconds, and no refresh at start-up, since each test starts the work it looks at.
inline Timing quickTiming()
{
    using namespace std::chrono_literals;
    Timing timing;
    timing.startupRefreshDelay = 24h;
    timing.diskReselectionDelay = 10ms;
    timing.scanFinishDelay = 10ms;
    timing.installedAppSearchPause = 10ms;
    timing.newInstallerFoundDelay = 10ms;
    timing.scanFailureDelay = 10ms;
    timing.packageProgressInterval = 1ms;
    timing.packageSearchDelay = 10ms;
    timing.imageToolFeedbackInterval = 20ms;
    timing.detachRetryPause = 10ms;
    return timing;
}
