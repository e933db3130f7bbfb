#include "exec/Cancellation.h"

#include <algorithm>

namespace {

thread_local std::shared_ptr<Cancellation> currentCancellation;

struct OutsideJobs {
    std::mutex mutex;
    std::shared_ptr<Cancellation> cancellation = std::make_shared<Cancellation>();
};

// Never destroyed: a pool thread may still ask for it while the process exits.
OutsideJobs &outsideJobsState()
{
    static auto *state = new OutsideJobs;
    return *state;
}

} // namespace

void Cancellation::queue(const Stopper &stopper)
{
    // A call posted to an object that is destroyed before it runs is dropped with it.
    QMetaObject::invokeMethod(stopper.context, stopper.stop, Qt::QueuedConnection);
}

void Cancellation::request()
{
    const std::lock_guard lock(m_mutex);
    if (m_requested.exchange(true))
        return;
    // Under the lock, so no context is destroyed meanwhile: remove() waits for it.
    for (const Stopper &stopper : m_stoppers)
        queue(stopper);
}

int Cancellation::add(QObject *context, std::function<void()> stop)
{
    const std::lock_guard lock(m_mutex);
    const Stopper stopper{++m_nextId, context, std::move(stop)};
    m_stoppers.push_back(stopper);
    if (m_requested)
        queue(stopper);
    return stopper.id;
}

void Cancellation::remove(int id)
{
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_stoppers, [id](const Stopper &stopper) { return stopper.id == id; });
}

std::shared_ptr<Cancellation> Cancellation::current()
{
    return currentCancellation;
}

std::shared_ptr<Cancellation> Cancellation::outsideJobs()
{
    const std::lock_guard lock(outsideJobsState().mutex);
    return outsideJobsState().cancellation;
}

void Cancellation::renewOutsideJobs()
{
    const std::lock_guard lock(outsideJobsState().mutex);
    outsideJobsState().cancellation = std::make_shared<Cancellation>();
}

std::shared_ptr<Cancellation> Cancellation::governing()
{
    return currentCancellation ? currentCancellation : outsideJobs();
}

Cancellation::Scope::Scope(std::shared_ptr<Cancellation> cancellation)
    : m_previous(std::exchange(currentCancellation, std::move(cancellation)))
{
}

Cancellation::Scope::~Scope()
{
    currentCancellation = std::move(m_previous);
}
