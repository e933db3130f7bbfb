// How long the short work the window waits on takes while long jobs run: the installer scan, the
// disk list refresh and the protection check, on a fresh stand-in Mac, first with nothing else
// running, then while two jobs each wait on a tool of their own, as a USB and an ISO job wait on
// createinstallmedia and hdiutil for most of their hour. Each busy figure should stay within 1.5
// times the idle one.
//
// With --shared-pool the two jobs' waits are put on Qt's shared thread pool instead of threads of
// their own, which shows what a job holding a pool thread costs the window.
//
// Usage: bench_scan_latency [RUNS] [--shared-pool]   (default 9 runs; medians are printed)
//
// The operations print diagnostic lines on standard output; it is sent to /dev/null and the
// results are printed on standard error.

#include "disk/DiskUtility.h"
#include "exec/Cancellation.h"
#include "exec/ChildProcess.h"
#include "exec/JobThreads.h"
#include "model/Timing.h"
#include "state/AppState.h"
#include "support/StandInWorld.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

// Starts `work`, which calls its argument when it is done; the milliseconds until then.
using Operation = std::function<void(std::function<void()>)>;

double timeOnce(const Operation &operation)
{
    QEventLoop loop;
    bool finished = false;
    QElapsedTimer timer;
    timer.start();
    operation([&] {
        finished = true;
        loop.quit();
    });
    if (!finished)
        loop.exec();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The median of `runs` timings of `operation`, each made while what `surroundings` makes lives.
double median(int runs, const Operation &operation,
              const std::function<std::shared_ptr<void>()> &surroundings)
{
    const auto timeAmid = [&] {
        const std::shared_ptr<void> around = surroundings();
        return timeOnce(operation);
    };
    timeAmid(); // warms the caches
    std::vector<double> times;
    for (int run = 0; run < runs; ++run)
        times.push_back(timeAmid());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Lets the event loop run for `milliseconds`.
void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Calls `done` the first time `state` says `finished`.
void whenChanged(AppState &state, std::function<bool()> finished, std::function<void()> done)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(&state, &AppState::changed, [=] {
        if (!finished())
            return;
        QObject::disconnect(*connection);
        done();
    });
}

// Two jobs that each wait on a tool, as a USB or ISO job waits on its tool for most of its run.
// On the shared pool the tools end by themselves after two seconds, since the work measured
// meanwhile would otherwise wait for them for ever.
class TwoJobs {
public:
    explicit TwoJobs(bool sharedPool)
    {
        const QString seconds = QString::fromLatin1(sharedPool ? "2" : "600");
        for (int job = 0; job < 2; ++job) {
            auto cancellation = std::make_shared<Cancellation>();
            m_jobs.push_back(cancellation);
            const auto waitOnATool = [seconds] {
                ChildProcess tool(QStringLiteral("/bin/sleep"), {seconds});
                if (tool.start())
                    tool.waitForExit();
            };
            if (sharedPool)
                QThreadPool::globalInstance()->start([cancellation, waitOnATool] {
                    const Cancellation::Scope scope(cancellation);
                    waitOnATool();
                });
            else
                JobThreads::start(cancellation, waitOnATool);
        }
    }
    ~TwoJobs()
    {
        for (const auto &job : m_jobs)
            job->request();
        JobThreads::waitForAll();
        QThreadPool::globalInstance()->waitForDone();
    }

private:
    std::vector<std::shared_ptr<Cancellation>> m_jobs;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const bool sharedPool = arguments.contains(QStringLiteral("--shared-pool"));
    int runs = 9;
    if (arguments.size() > 1 && arguments.at(1).toInt() > 0)
        runs = arguments.at(1).toInt();

    const StandInWorld world(
        {.payloadSize = StandInWorld::asShipped,
         .program = QCoreApplication::applicationDirPath() + "/tessaline-standin"});
    if (!world.isValid()) {
        std::fprintf(stderr, "could not make a stand-in world\n");
        return 1;
    }
    const int quiet = ::open("/dev/null", O_WRONLY);
    ::dup2(quiet, STDOUT_FILENO);
    // The delays that keep a finished scan on screen are the window's, not the work's.
    Timing timing;
    timing.scanFinishDelay = Timing::Duration(0);
    timing.diskReselectionDelay = Timing::Duration(0);
    timing.startupRefreshDelay = Timing::Duration(0);
    Timing::setCurrent(timing);

    // The icon reader's complaints about the stand-in's small icons would bury the results.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    AppState state;
    // What the state starts by itself is over before anything is measured.
    settle(2000);
    const Operation scan = [&](std::function<void()> done) {
        state.installers = {};
        whenChanged(
            state, [&] { return !state.isScanning() && !state.installers().isEmpty(); }, done);
        state.scanForInstallers();
    };
    const Operation refresh = [&](std::function<void()> done) {
        whenChanged(
            state, [&] { return !state.isLoadingDisks() && !state.availableDisks().isEmpty(); },
            done);
        state.refreshDiskList();
    };
    const Operation protection = [](std::function<void()> done) {
        DiskUtility::checkSIPStatus([done](bool) { done(); });
    };
    const std::vector<std::pair<const char *, Operation>> operations{
        {"installer scan", scan}, {"disk list refresh", refresh}, {"protection check", protection}};

    std::vector<double> idle;
    std::vector<double> busy;
    for (const auto &[name, operation] : operations) {
        // Each run starts once what the one before left behind (the scan's signature checks) is
        // over, and with both tools running.
        idle.push_back(median(runs, operation, [] {
            settle(300);
            return nullptr;
        }));
        busy.push_back(median(runs, operation, [&] {
            settle(300);
            auto jobs = std::make_shared<TwoJobs>(sharedPool);
            settle(50);
            return jobs;
        }));
    }

    std::fprintf(stderr, "%d runs each, medians; two jobs %s\n", runs,
                 sharedPool ? "on the shared pool" : "on threads of their own");
    std::fprintf(stderr, "%-20s %10s %16s %8s\n", "", "idle ms", "two jobs ms", "ratio");
    for (std::size_t index = 0; index < operations.size(); ++index)
        std::fprintf(stderr, "%-20s %10.1f %16.1f %8.2f\n", operations[index].first, idle[index],
                     busy[index], busy[index] / idle[index]);
    return 0;
}
