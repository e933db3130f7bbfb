// Every runner operation and engine, run to its end many times on a stand-in Mac whose tools answer
// at once, leaves no process behind and no more file descriptors open than after its first run.

#include "disk/DiskUtility.h"
#include "hardening/Leftovers.h"
#include "host/VolumeWatcher.h"
#include "media/DMGCreator.h"
#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <QEventLoop>
#include <QPointer>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace std::chrono_literals;

// Starts one piece of work, handing it what to call, from any thread, once it has ended.
using Done = std::function<void()>;
using Starter = std::function<void(Done done)>;
Q_DECLARE_METATYPE(Starter)

namespace {

// A sanitizer checks every run itself and slows each several times over; a descriptor or process
// left by every run shows after a few dozen as well as after hundreds.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int repetitions = 40;
#else
constexpr int repetitions = 200;
#endif

// Starts the work and runs the main thread's loop until `done` is called; a late or second call
// finds the loop gone and does nothing.
bool runToEnd(const Starter &start)
{
    QEventLoop loop;
    const auto finished = std::make_shared<bool>(false);
    start([finished, waiting = QPointer<QEventLoop>(&loop)] {
        runOnMainThread([finished, waiting] {
            *finished = true;
            if (waiting)
                waiting->quit();
        });
    });
    QTimer::singleShot(10s, &loop, &QEventLoop::quit);
    loop.exec();
    return *finished;
}

// Keeps the stand-in diskutil's answer to `arguments` in `file`, for the quick one to repeat.
void keepAnswer(const StandInWorld &world, const QStringList &arguments, const QString &file)
{
    QProcess diskutil;
    diskutil.setProcessEnvironment(Host::current().processEnvironment());
    diskutil.setStandardOutputFile(file);
    diskutil.start(world.path("usr/sbin/diskutil"), arguments);
    QVERIFY(diskutil.waitForFinished());
}

// Puts tools in the world that do what the engines look for in a few milliseconds. diskutil
// repeats the world's own answers: the layout, and the stick's details for any question.
void useQuickTools(const StandInWorld &world)
{
    const QString list = world.path("var/list.plist");
    const QString info = world.path("var/info.plist");
    keepAnswer(world, {"list", "-plist"}, list);
    keepAnswer(world, {"info", "-plist", "disk4"}, info);
    const QMap<QString, QByteArray> tools{
        {"usr/sbin/diskutil", "if [ \"$1\" = list ]; then cat '" + list.toUtf8() + "'; else cat '" +
                                  info.toUtf8() + "'; fi"},
        {"usr/bin/osascript",
         "printf 'Erasing disk: 0%%... 100%%\\nInstall media now available\\n'"},
        {"usr/bin/csrutil", "echo 'System Integrity Protection status: enabled.'"},
        {"usr/bin/sudo", "read -r password\nshift\nexec \"$@\""}, // "-S", then the command
        {"usr/bin/hdiutil",
         "case \"$1\" in\ncreate) touch \"${12}\" ;;\nattach) mkdir -p \"$5\" ;;\n"
         "detach) rmdir \"$2\" ;;\nconvert) touch \"$6.cdr\" ;;\nesac"},
    };
    for (auto tool = tools.begin(); tool != tools.end(); ++tool)
        world.replaceTool(tool.key(), tool.value());
}

// Starts every thread of the shared pool for good, so that none is made, with the descriptors of
// its event loop, between the two counts of a test, and none goes.
void startEveryPoolThread()
{
    QThreadPool *pool = QThreadPool::globalInstance();
    pool->setExpiryTimeout(-1);
    const int threads = pool->maxThreadCount();
    QSemaphore started;
    QSemaphore released;
    for (int thread = 0; thread < threads; ++thread) {
        pool->start([&] {
            QEventLoop().processEvents();
            started.release();
            released.acquire();
        });
    }
    started.acquire(threads);
    released.release(threads);
    while (pool->activeThreadCount() > 0) // not waitForDone(): that ends the threads
        QThread::msleep(1);
}

Starter runnerOperation(const QString &operation)
{
    return [operation](Done done) {
        Leftovers::startRunner(
            operation, "true", [](const QString &) {}, [done](int, const QString &) { done(); });
    };
}

// An engine's progress handler that sees the end of the run.
std::function<void(const ProgressInfo &)> endOf(const Done &done)
{
    return [done](const ProgressInfo &progress) {
        if (progress.isComplete)
            done();
    };
}

} // namespace

class NoLeaksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Leftovers::markProcessTree();
        qputenv("TESSALINE_STANDIN_SPEED", "0");
        startEveryPoolThread();
        // The package workflow's pauses would add up over the runs.
        Timing timing = quickTiming();
        timing.packageSearchDelay = timing.scanFailureDelay = timing.packageProgressInterval = 0ms;
        timing.imageToolFeedbackInterval = 1h; // only the first sign of life
        Timing::setCurrent(timing);
        m_world = std::make_unique<StandInWorld>();
        QVERIFY(m_world->isValid());
        useQuickTools(*m_world);
        m_installer = InstallerApp::fromBundle(
            QUrl::fromLocalFile(m_world->path("Applications/Install macOS Sequoia.app")));
        QVERIFY(m_installer);
    }

    void repeatedRuns_data()
    {
        QTest::addColumn<Starter>("work");
        QTest::addColumn<QString>("missing"); // a tool taken away: the paths of a failed launch
        const auto add = [](const char *row, const Starter &work, const char *missing = "") {
            QTest::newRow(row) << work << QString::fromUtf8(missing);
        };
        for (const char *runner :
             {"runScript", "runCommand", "admin via process", "streamed admin", "terminal"})
            add(runner, runnerOperation(runner));
        add("USB creation", [this](Done done) {
            const DiskInfo stick("disk4s2", "UNTITLED", m_world->path("Volumes/UNTITLED"),
                                 16'000'000'000, 16'000'000'000, true);
            USBCreator::createBootableUSB(*m_installer, stick, endOf(done));
        });
        const Starter diskImageCreation = [this](Done done) {
            DMGCreator().createBootableDMG(*m_installer, endOf(done));
        };
        const Starter diskDiscovery = [](Done done) {
            DiskUtility::getRemovableDisks([done](const DiskUtility::DiskListResult &) { done(); });
        };
        add("disk image creation", diskImageCreation);
        add("disk discovery", diskDiscovery);
        add("volume watching", [this](Done done) {
            // Made, told of a volume mounted, and gone again.
            auto *watcher = new VolumeWatcher(Host::current(), 0ms);
            const QString volume = m_world->path("Volumes/WATCHED");
            QObject::connect(watcher, &VolumeWatcher::volumesChanged, [watcher, volume, done] {
                QDir().rmdir(volume);
                watcher->deleteLater();
                done();
            });
            QDir().mkdir(volume);
        });
        add("protection status",
            [](Done done) { DiskUtility::checkSIPStatus([done](bool) { done(); }); });
        add("package installation", [this](Done done) { installPackage(done); });
        for (const char *runner : {"runScript", "admin via process", "streamed admin"})
            QTest::addRow("%s, no osascript", runner)
                << runnerOperation(runner) << "usr/bin/osascript";
        add("disk image creation, no hdiutil", diskImageCreation, "usr/bin/hdiutil");
        add("disk discovery, no diskutil", diskDiscovery, "usr/sbin/diskutil");
    }
    void repeatedRuns()
    {
        QFETCH(Starter, work);
        QFETCH(QString, missing);
        const QString tool = m_world->path(missing);
        QVERIFY(missing.isEmpty() || QFile::rename(tool, tool + ".away"));
        const auto restore = qScopeGuard([&] { QFile::rename(tool + ".away", tool); });
        // The first run makes what Qt makes once (a pool thread's event loop, a notifier).
        QVERIFY(runToEnd(work));
        Leftovers::settle();
        const qsizetype descriptors = Leftovers::openDescriptors();
        for (int run = 0; run < repetitions; ++run)
            QVERIFY2(runToEnd(work), qPrintable(QStringLiteral("run %1 did not end").arg(run)));
        Leftovers::settle();
        QTRY_COMPARE_WITH_TIMEOUT(Leftovers::processes(), QStringList(), 2000);
        QCOMPARE(Leftovers::openDescriptors(), descriptors);
    }

private:
    // Automatic installation through the state, to the end of the search for the new installer.
    void installPackage(const Done &done)
    {
        if (!m_state)
            m_state = std::make_unique<AppState>();
        AppState &state = *m_state;
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = QObject::connect(&state, &AppState::changed, [&state, done, connection] {
            if (state.progressInfo().isComplete && !state.isInstallingPKG() &&
                !state.isScanning()) {
                QObject::disconnect(*connection);
                done();
            }
        });
        state.installPKGAutomated(
            QUrl::fromLocalFile(m_world->path("Downloads/InstallAssistant.pkg")));
    }

    std::unique_ptr<StandInWorld> m_world;
    std::optional<InstallerApp> m_installer;
    std::unique_ptr<AppState> m_state;
};

QTEST_MAIN(NoLeaksTest)
#include "tst_noleaks.moc"
