#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// A request to stop one job, shared by the thread that does the job and whoever may stop it.
// The job's work checks it between steps; each tool the job runs registers a stopper for as long
// as it runs, so that a request ends the tool at once rather than at the next step.
class Cancellation {
public:
    // Asks the job to stop: every registered stopper is queued to its own thread. Any thread.
    void request();
    bool isRequested() const { return m_requested.load(); }

    // Queues `stop` to `context`'s thread when the job is asked to stop, at once if it already
    // was. `context` must outlive the registration: remove() it before destroying `context`.
    int add(QObject *context, std::function<void()> stop);
    void remove(int id);

    // The cancellation of the job the calling thread is doing, or null.
    static std::shared_ptr<Cancellation> current();
    // That of what runs outside any job, the listings and checks on the shared pool: requested
    // only when the program quits (JobThreads::stopAll), and renewed after it.
    static std::shared_ptr<Cancellation> outsideJobs();
    static void renewOutsideJobs();
    // current(), or outsideJobs() on a thread that is doing no job.
    static std::shared_ptr<Cancellation> governing();

    // Makes `cancellation` the calling thread's for as long as the scope lasts.
    class Scope {
    public:
        explicit Scope(std::shared_ptr<Cancellation> cancellation);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        std::shared_ptr<Cancellation> m_previous;
    };

private:
    struct Stopper {
        int id;
        QObject *context;
        std::function<void()> stop;
    };
    static void queue(const Stopper &stopper);

    std::atomic<bool> m_requested{false};
    std::mutex m_mutex;
    std::vector<Stopper> m_stoppers;
    int m_nextId = 0;
};
