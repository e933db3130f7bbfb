#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <type_traits>

// The one way work is handed to the main (interface) thread: each form queues `task` to its event
// loop, after every task queued before it from the same thread, also when called on the main
// thread itself (the task then runs once the current work is done).
void runOnMainThread(std::function<void()> task);

// The same, dropped when `context` is destroyed before it runs. `context` lives on the main
// thread; only the main thread may name it so, since only there is it sure to exist meanwhile.
void runOnMainThread(QObject *context, std::function<void()> task);

// The same for a job thread that holds `receiver` only weakly: the task gets the receiver, and is
// dropped when it has gone by the time the task would run.
template <class Receiver>
void runOnMainThread(const QPointer<Receiver> &receiver,
                     std::type_identity_t<std::function<void(Receiver &)>> task)
{
    runOnMainThread([receiver, task = std::move(task)] {
        if (receiver)
            task(*receiver);
    });
}

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
