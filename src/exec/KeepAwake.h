#pragma once

#include "exec/Cancellation.h"

#include <memory>

// Keeps the Mac from sleeping while it sits idle, for as long as a job runs: caffeinate -i on a
// job thread of its own. caffeinate is told to watch this process (-w), so it ends by itself
// when the process ends first, even by a crash; quitting stops it with the other jobs. It never
// holds up the job it serves: when it cannot run, that is one diagnostic line and nothing more.
// Started and stopped on the main thread, neither of which waits for caffeinate.
class KeepAwake {
public:
    KeepAwake() = default;
    ~KeepAwake() { stop(); }
    KeepAwake(const KeepAwake &) = delete;
    KeepAwake &operator=(const KeepAwake &) = delete;

    // Starts caffeinate; nothing when it already runs.
    void start();
    // Asks caffeinate to end; its thread terminates it and waits for it.
    void stop();

private:
    std::shared_ptr<Cancellation> m_run;
};
