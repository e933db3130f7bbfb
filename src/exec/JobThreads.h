#pragma once

#include "exec/Cancellation.h"

#include <chrono>
#include <functional>
#include <memory>

// Long jobs run on threads of their own: a job of an hour never holds one of the shared pool's
// few threads from the short work (listings, checks) the window waits on, and quitting can stop
// every job and wait for it.
namespace JobThreads {

// Runs `work` on a new thread, with `cancellation` as that thread's current one (the tools it
// runs end when it is requested).
void start(std::shared_ptr<Cancellation> cancellation, std::function<void()> work);
// The same, as part of the calling thread's job, or as a job of its own when it has none: the
// engines start their threads so, and whoever starts an engine decides which job it is part of
// with a Cancellation::Scope around the call.
void start(std::function<void()> work);
// Asks every running job, and every tool run outside a job, to stop, and waits for the job
// threads and the shared pool for at most `limit` in all; false when one is still running then.
// Called on the main thread, when the program quits.
bool stopAll(std::chrono::milliseconds limit);
// Waits for every running job, and for the jobs they start, for at most `limit`; false when one
// is still running then. Deleting the finished threads' objects is left to the caller's event
// loop.
bool waitForAll(std::chrono::milliseconds limit = std::chrono::hours(24));
// How many job threads are running.
int running();

} // namespace JobThreads
