#include "exec/ChildProcess.h"

#include "host/Host.h"
#include "model/Timing.h"

#include <QEventLoop>
#include <QTimer>

#include <csignal>
#include <unistd.h>

ChildProcess::ChildProcess(const QString &program, const QStringList &arguments)
{
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.setProcessEnvironment(Host::current().processEnvironment());
    // A group of its own, so that ending the tool also ends what it started (sudo hands its
    // place to the command it runs; a shell script leaves its children behind).
    m_process.setChildProcessModifier([] { setpgid(0, 0); });
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
        if (m_reading && m_outputHandler)
            m_outputHandler(m_process.readAllStandardOutput());
    });
    QObject::connect(&m_process, &QProcess::readyReadStandardError, [this] {
        if (m_reading && m_errorHandler)
            m_errorHandler(m_process.readAllStandardError());
    });
}

ChildProcess::~ChildProcess()
{
    // Nothing may outlive its operation: a process still running here is ended.
    if (m_process.state() != QProcess::NotRunning) {
        signalGroup(SIGKILL);
        m_process.waitForFinished(-1);
    }
}

void ChildProcess::addTimeLimit(std::chrono::milliseconds after, std::function<void()> action)
{
    m_timeLimits.emplace_back(after, std::move(action));
}

bool ChildProcess::start()
{
    m_process.start();
    if (!m_process.waitForStarted(-1))
        return false;
    m_process.closeWriteChannel();
    return true;
}

void ChildProcess::waitForExit()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    QEventLoop loop;
    QObject::connect(&m_process, &QProcess::finished, &loop, &QEventLoop::quit);
    for (auto &[after, action] : m_timeLimits) {
        auto timer = std::make_unique<QTimer>();
        timer->setSingleShot(true);
        QObject::connect(timer.get(), &QTimer::timeout, [this, action] {
            if (isRunning())
                action();
        });
        timer->start(after);
        m_timers.push_back(std::move(timer));
    }
    if (m_process.state() != QProcess::NotRunning)
        loop.exec();
    m_timers.clear();
}

bool ChildProcess::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

void ChildProcess::signalGroup(int signal)
{
    const qint64 id = m_process.processId();
    if (id > 0)
        ::kill(-pid_t(id), signal);
}

void ChildProcess::terminate()
{
    signalGroup(SIGTERM);
    auto killer = std::make_unique<QTimer>();
    killer->setSingleShot(true);
    QObject::connect(killer.get(), &QTimer::timeout, [this] {
        if (isRunning())
            signalGroup(SIGKILL);
    });
    killer->start(Timing::current().terminationGrace);
    m_timers.push_back(std::move(killer));
}

void ChildProcess::stopReading()
{
    m_reading = false;
}

QByteArray ChildProcess::readRemainingOutput()
{
    return m_process.readAllStandardOutput();
}

QByteArray ChildProcess::readRemainingError()
{
    return m_process.readAllStandardError();
}

int ChildProcess::exitStatus() const
{
    return m_process.exitCode();
}
