#include "exec/MainThread.h"

#include "exec/Cancellation.h"

#include <QCoreApplication>

#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace std::chrono_literals;

void runOnMainThread(std::function<void()> task)
{
    if (QCoreApplication *application = QCoreApplication::instance())
        QMetaObject::invokeMethod(application, std::move(task), Qt::QueuedConnection);
}

void runOnMainThread(QObject *context, std::function<void()> task)
{
    QMetaObject::invokeMethod(context, std::move(task), Qt::QueuedConnection);
}

struct MainThreadFeed::Shared {
    std::mutex mutex;
    std::condition_variable ran;
    bool pending = false;
};

MainThreadFeed::MainThreadFeed() : m_shared(std::make_shared<Shared>()) {}

void MainThreadFeed::post(std::function<void()> task)
{
    constexpr auto longestWait = 250ms;
    // A cancel request does not wake the wait; it is looked at this often.
    constexpr auto cancelCheck = 20ms;
    const std::shared_ptr<Cancellation> job = Cancellation::current();
    {
        std::unique_lock lock(m_shared->mutex);
        const auto giveUp = std::chrono::steady_clock::now() + longestWait;
        while (m_shared->pending && !(job && job->isRequested()) &&
               std::chrono::steady_clock::now() < giveUp)
            m_shared->ran.wait_for(lock, cancelCheck);
        m_shared->pending = true;
    }
    runOnMainThread([shared = m_shared, task = std::move(task)] {
        task();
        {
            const std::lock_guard lock(shared->mutex);
            shared->pending = false;
        }
        shared->ran.notify_one();
    });
}
