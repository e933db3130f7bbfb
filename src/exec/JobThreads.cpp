#include "exec/JobThreads.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct Running {
    QThread *thread;
    std::shared_ptr<Cancellation> cancellation;
};

struct Registry {
    std::mutex mutex;
    std::vector<Running> jobs;
};

// Never destroyed: a job thread may still be leaving it while the process exits.
Registry &registry()
{
    static auto *jobs = new Registry;
    return *jobs;
}

} // namespace

void JobThreads::start(std::shared_ptr<Cancellation> cancellation, std::function<void()> work)
{
    QThread *thread = QThread::create([cancellation, work = std::move(work)] {
        const Cancellation::Scope scope(cancellation);
        work();
    });
    thread->setObjectName(QStringLiteral("Job"));
    // A job started by another job's thread outlives it: the object is deleted by the main
    // thread's event loop, which runs for as long as jobs do.
    if (QCoreApplication *application = QCoreApplication::instance())
        thread->moveToThread(application->thread());
    // Leaves the list from the job's own thread, as its last act; the object itself goes on the
    // thread that made it.
    QObject::connect(
        thread, &QThread::finished, thread,
        [thread] {
            const std::lock_guard lock(registry().mutex);
            std::erase_if(registry().jobs,
                          [thread](const Running &job) { return job.thread == thread; });
        },
        Qt::DirectConnection);
    // Deleted once wait() has seen the thread end, so that everything it did, its last slot
    // included, is over before its object goes.
    QObject::connect(
        thread, &QThread::finished, thread,
        [thread] {
            thread->wait();
            thread->deleteLater();
        },
        Qt::QueuedConnection);
    {
        const std::lock_guard lock(registry().mutex);
        registry().jobs.push_back({thread, std::move(cancellation)});
    }
    thread->start();
}

void JobThreads::start(std::function<void()> work)
{
    std::shared_ptr<Cancellation> cancellation = Cancellation::current();
    start(cancellation ? std::move(cancellation) : std::make_shared<Cancellation>(),
          std::move(work));
}

bool JobThreads::stopAll(std::chrono::milliseconds limit)
{
    std::vector<Running> jobs;
    {
        const std::lock_guard lock(registry().mutex);
        jobs = registry().jobs;
    }
    for (const Running &job : jobs)
        job.cancellation->request();
    // A listing or a check waiting on a tool that hangs would hold the exit for as long as the
    // tool's own limit, and the application object's end waits for the pool without one.
    Cancellation::outsideJobs()->request();
    const QDeadlineTimer deadline(limit);
    const bool jobsEnded = waitForAll(limit);
    const bool tasksEnded = QThreadPool::globalInstance()->waitForDone(
        int(std::max<qint64>(deadline.remainingTime(), 0)));
    Cancellation::renewOutsideJobs();
    return jobsEnded && tasksEnded;
}

bool JobThreads::waitForAll(std::chrono::milliseconds limit)
{
    const QDeadlineTimer deadline(limit);
    // A job may start another as it ends, so the list is read again until it stays empty. The
    // objects are deleted by the main thread's event loop, which waits here meanwhile.
    for (;;) {
        std::vector<Running> jobs;
        {
            const std::lock_guard lock(registry().mutex);
            jobs = registry().jobs;
        }
        if (jobs.empty())
            return true;
        for (const Running &job : jobs)
            if (!job.thread->wait(deadline))
                return false;
    }
}

int JobThreads::running()
{
    const std::lock_guard lock(registry().mutex);
    return int(registry().jobs.size());
}
