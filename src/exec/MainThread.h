#pragma once

#include <functional>
#include <memory>

// Queues `task` to run on the main (interface) thread's event loop, after every task queued
// before it from the same thread.
void runOnMainThread(std::function<void()> task);

// A job thread's stream of tasks for the main thread, handed over no faster than the main thread
// runs them: post() waits until the task before it has run. A tool that floods its output then
// fills its pipe and waits, instead of filling the main thread's queue, and no turn of the main
// thread's loop has more than one piece of the flood to handle, so the window stays responsive.
// The wait ends early when the calling thread's job is cancelled, and after a quarter second
// whatever happens, so a main thread that is itself waiting never holds the job for long.
class MainThreadFeed {
public:
    MainThreadFeed();
    // Called on one job thread.
    void post(std::function<void()> task);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};
