// Every runner operation and every engine, run to its end 200 times in a row on a stand-in Mac
// whose tools answer at once: afterwards no process they started is left, and the process has
// as many file descriptors open as after the first run.

#include "disk/DiskUtility.h"
#include "exec/AppleScriptHelper.h"
#include "exec/MainThread.h"
#include "hardening/Leftovers.h"
#include "media/DMGCreator.h"
#include "media/USBCreator.h"
#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <QEventLoop>
#include <QScopeGuard>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace std::chrono_literals;

// Starts one piece of work, handing it what to call, from any thread, once it has ended.
using Starter = std::function<void(std::function<void()> done)>;
Q_DECLARE_METATYPE(Starter)

namespace {

constexpr int repetitions = 200;

// One run being waited for on the main thread. `done` may be called from any thread, more than
// once and after the wait: only the wait itself owns the run, and only the main thread touches it.
class Run {
public:
    // Starts the work with a handle to call when it has ended, and waits for that.
    static bool toEnd(const Starter &start)
    {
        const auto run = std::make_shared<Run>();
        const std::weak_ptr<Run> waiting = run;
        start([waiting] {
            runOnMainThread([waiting] {
                if (const auto waited = waiting.lock())
                    waited->finish();
            });
        });
        if (!run->m_finished) {
            QTimer::singleShot(10s, &run->m_loop, &QEventLoop::quit);
            run->m_loop.exec();
        }
        return run->m_finished;
    }

private:
    void finish()
    {
        m_finished = true;
        m_loop.quit();
    }

    QEventLoop m_loop;
    bool m_finished = false;
};

QByteArray capture(const StandInWorld &world, const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(Host::current().processEnvironment());
    process.start(world.path(tool), arguments);
    process.waitForFinished();
    return process.readAllStandardOutput();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// Tools that do what the engines look for in a few milliseconds, by their place in the world.
// diskutil repeats answers the world's own gave: the disk layout, and the removable stick's
// details for every question.
QMap<QString, QByteArray> quickTools(const StandInWorld &world)
{
    const QString list = world.path(QStringLiteral("var/list.plist"));
    const QString info = world.path(QStringLiteral("var/info.plist"));
    if (!QFileInfo::exists(list)) {
        writeFile(list, capture(world, QStringLiteral("usr/sbin/diskutil"), {"list", "-plist"}));
        writeFile(info,
                  capture(world, QStringLiteral("usr/sbin/diskutil"), {"info", "-plist", "disk4"}));
    }
    return {
        {QStringLiteral("usr/sbin/diskutil"), "if [ \"$1\" = list ]; then cat '" + list.toUtf8() +
                                                  "'; else cat '" + info.toUtf8() + "'; fi"},
        {QStringLiteral("usr/bin/osascript"),
         "printf 'Erasing disk: 0%%... 100%%\\nInstall media now available\\n'"},
        {QStringLiteral("usr/bin/csrutil"), "echo 'System Integrity Protection status: enabled.'"},
        // "-S", then the command, which is run in sudo's place.
        {QStringLiteral("usr/bin/sudo"), "read -r password\nshift\nexec \"$@\""},
        {QStringLiteral("usr/bin/hdiutil"), "case \"$1\" in\n"
                                            "create) touch \"${12}\" ;;\n"
                                            "attach) mkdir -p \"$5\" ;;\n"
                                            "detach) rmdir \"$2\" ;;\n"
                                            "convert) touch \"$6.cdr\" ;;\n"
                                            "esac"},
    };
}

// Every thread of the shared pool is started now and stays: none is made, with the descriptors
// of its event loop, between the two counts of a test, and none goes either.
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
    // Not waitForDone(): that ends the pool's threads.
    while (pool->activeThreadCount() > 0)
        QThread::msleep(1);
}

// A blocking runner operation, run on a background thread as the application does.
Starter blocking(std::function<void()> work)
{
    return [work = std::move(work)](std::function<void()> done) {
        QThreadPool::globalInstance()->start([work, done] {
            work();
            done();
        });
    };
}

// An engine's progress handler that sees the end of the run.
std::function<void(const ProgressInfo &)> endOf(const std::function<void()> &done)
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
        timing.packageSearchDelay = 0ms;
        timing.scanFailureDelay = 0ms;
        timing.packageProgressInterval = 0ms;
        timing.imageToolFeedbackInterval = 1h; // only the first sign of life
        Timing::setCurrent(timing);
        m_world = std::make_unique<StandInWorld>();
        QVERIFY(m_world->isValid());
        const QMap<QString, QByteArray> tools = quickTools(*m_world);
        for (auto tool = tools.begin(); tool != tools.end(); ++tool)
            m_world->replaceTool(tool.key(), tool.value());
        m_installer = InstallerApp::fromBundle(QUrl::fromLocalFile(
            m_world->path(QStringLiteral("Applications/Install macOS Sequoia.app"))));
        QVERIFY(m_installer);
    }
    void cleanupTestCase()
    {
        m_state.reset();
        m_world.reset();
        Timing::setCurrent(Timing());
    }

    void repeatedRuns_data()
    {
        QTest::addColumn<Starter>("work");
        // A tool taken away for the row: the paths of a launch that fails.
        QTest::addColumn<QString>("missing");

        using Helper = AppleScriptHelper;
        const QString command = QStringLiteral("true");
        const Starter runScript =
            blocking([] { Helper::runScript(QStringLiteral("do shell script \"true\"")); });
        const Starter adminProcess =
            blocking([command] { Helper::runWithAdminPrivileges(command); });
        const Starter streamed = [command](std::function<void()> done) {
            Helper::runShellCommandWithAdminPrivilegesAsync(
                command, [](const QString &) {}, [](const QString &) {},
                [done](int, const std::optional<QString> &, const std::optional<QString> &) {
                    done();
                });
        };
        const Starter diskImageCreation = [this](std::function<void()> done) {
            DMGCreator().createBootableDMG(*m_installer, endOf(done));
        };
        const Starter diskDiscovery = [](std::function<void()> done) {
            DiskUtility::getRemovableDisks([done](const DiskUtility::DiskListResult &) { done(); });
        };

        QTest::newRow("runScript") << runScript << QString();
        QTest::newRow("runCommand")
            << blocking([command] { Helper::runCommand(command); }) << QString();
        QTest::newRow("getCommandOutput")
            << blocking([command] { Helper::getCommandOutput(command); }) << QString();
        QTest::newRow("admin via process") << adminProcess << QString();
        QTest::newRow("admin via script") << blocking([command] {
            Helper::runWithAdminPrivileges(command, Helper::ExecutionMethod::appleScript);
        }) << QString();
        QTest::newRow("streamed admin") << streamed << QString();
        QTest::newRow("terminal") << Starter([command](std::function<void()> done) {
            USBCreator::executeTerminalCommand(
                command, QStringLiteral("tessaline"), [](const QString &) {},
                [](const QString &) {}, [done](qint32) { done(); });
        }) << QString();
        QTest::newRow("USB creation") << Starter([this](std::function<void()> done) {
            const DiskInfo stick(QStringLiteral("disk4s2"), QStringLiteral("UNTITLED"),
                                 m_world->path(QStringLiteral("Volumes/UNTITLED")), 16'000'000'000,
                                 16'000'000'000, true);
            USBCreator::createBootableUSB(*m_installer, stick, endOf(done));
        }) << QString();
        QTest::newRow("disk image creation") << diskImageCreation << QString();
        QTest::newRow("disk discovery") << diskDiscovery << QString();
        QTest::newRow("protection status") << Starter([](std::function<void()> done) {
            DiskUtility::checkSIPStatus([done](bool) { done(); });
        }) << QString();
        QTest::newRow("package installation")
            << Starter([this](std::function<void()> done) { installPackage(done); }) << QString();
        QTest::newRow("runScript, no osascript")
            << runScript << QStringLiteral("usr/bin/osascript");
        QTest::newRow("admin via process, no osascript")
            << adminProcess << QStringLiteral("usr/bin/osascript");
        QTest::newRow("streamed admin, no osascript")
            << streamed << QStringLiteral("usr/bin/osascript");
        QTest::newRow("disk image creation, no hdiutil")
            << diskImageCreation << QStringLiteral("usr/bin/hdiutil");
        QTest::newRow("disk discovery, no diskutil")
            << diskDiscovery << QStringLiteral("usr/sbin/diskutil");
    }
    void repeatedRuns()
    {
        QFETCH(Starter, work);
        QFETCH(QString, missing);
        if (!missing.isEmpty())
            m_world->removeTool(missing);
        const auto restore = qScopeGuard([&] {
            if (!missing.isEmpty())
                m_world->replaceTool(missing, quickTools(*m_world).value(missing));
        });
        // The first run makes what Qt makes once (a pool thread's event loop, a notifier).
        QVERIFY(Run::toEnd(work));
        settle();
        const int descriptors = Leftovers::openDescriptors();
        for (int run = 0; run < repetitions; ++run)
            QVERIFY2(Run::toEnd(work), qPrintable(QStringLiteral("run %1 did not end").arg(run)));
        settle();
        QTRY_COMPARE_WITH_TIMEOUT(Leftovers::describe(Leftovers::processes()), QString(), 2000);
        QCOMPARE(Leftovers::openDescriptors(), descriptors);
    }

private:
    static void settle() { QTRY_COMPARE(QThreadPool::globalInstance()->activeThreadCount(), 0); }

    // Automatic installation through the state, to the end of the search for the new installer
    // that follows it.
    void installPackage(const std::function<void()> &done)
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
            QUrl::fromLocalFile(m_world->path(QStringLiteral("Downloads/InstallAssistant.pkg"))));
    }

    std::unique_ptr<StandInWorld> m_world;
    std::optional<InstallerApp> m_installer;
    std::unique_ptr<AppState> m_state;
};

QTEST_MAIN(NoLeaksTest)
#include "tst_noleaks.moc"
