#include "exec/ChildProcess.h"

#include "host/Host.h"
#include "model/SystemError.h"
#include "model/Timing.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Why the system would refuse to run the file at `program`, in the words QProcess uses; nothing
// when it would run it, or when the name is searched for along the path.
std::optional<QString> whyNotRunnable(const QString &program)
{
    if (!QFileInfo(program).isAbsolute())
        return std::nullopt;
    const QByteArray path = QFile::encodeName(program);
    struct stat status;
    int error = 0;
    if (::stat(path.constData(), &status) != 0)
        error = errno;
    else if (!S_ISREG(status.st_mode) || ::access(path.constData(), X_OK) != 0)
        error = EACCES;
    if (error == 0)
        return std::nullopt;
    return QStringLiteral("execve: ") + systemErrorText(error);
}

QString systemError(const char *call, int error)
{
    return QLatin1String(call) + QStringLiteral(": ") + systemErrorText(error);
}

// Both ends close on exec, so no other child started meanwhile keeps the pipe; the writing end
// never waits, so input that does not fit is an error rather than a hang.
bool openInputPipe(int ends[2])
{
    if (::pipe(ends) != 0)
        return false;
    for (int i = 0; i < 2; ++i)
        ::fcntl(ends[i], F_SETFD, FD_CLOEXEC);
    ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
    return true;
}

// 0 when every byte went in, else the error (EAGAIN: the pipe is full).
int writeAll(int descriptor, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), size_t(bytes.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        bytes = bytes.sliced(written);
    }
    return 0;
}

} // namespace

ChildProcess::ChildProcess(const QString &program, const QStringList &arguments)
{
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.setProcessEnvironment(Host::current().processEnvironment());
    // A group of its own, so that ending the tool also ends what it started (sudo hands its
    // place to the command it runs; a shell script leaves its children behind).
    m_process.setChildProcessModifier([this] {
        setpgid(0, 0);
        // Runs after QProcess has set up the standard descriptors, so this one wins.
        if (m_inputDescriptor >= 0)
            ::dup2(m_inputDescriptor, STDIN_FILENO);
        if (m_terminal && m_terminal->childSide() >= 0)
            ::dup2(m_terminal->childSide(), STDOUT_FILENO);
    });
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
    if (m_stopper != 0)
        m_cancellation->remove(m_stopper);
    // Nothing may outlive its operation: a process still running here is ended.
    if (m_process.state() != QProcess::NotRunning) {
        signalGroup(SIGKILL);
        m_process.waitForFinished(-1);
    }
    if (m_inputDescriptor >= 0)
        ::close(m_inputDescriptor);
}

void ChildProcess::addTimeLimit(std::chrono::milliseconds after, std::function<void()> action)
{
    m_timeLimits.emplace_back(after, std::move(action));
}

bool ChildProcess::start()
{
    if (m_cancellation->isRequested()) {
        //: Why a tool was not started: the job it belongs to was stopped
        m_startError = tr("Cancelled");
        return false;
    }
    // QProcess (Qt 6.4) leaves a pipe open every time the program it started cannot be run, so
    // a program that cannot be run is not handed to it.
    if (const std::optional<QString> reason = whyNotRunnable(m_process.program())) {
        m_startError = *reason;
        return false;
    }
    if (!m_input.empty() && !prepareInput())
        return false;
    if (m_terminal && !m_terminal->open()) {
        m_startError = m_terminal->errorString();
        return false;
    }
    m_process.start();
    const bool started = m_process.waitForStarted(-1);
    // The child has its copy; what the pipe holds now is for it alone.
    if (m_inputDescriptor >= 0) {
        ::close(m_inputDescriptor);
        m_inputDescriptor = -1;
    }
    if (m_terminal) {
        m_terminal->closeChildSide();
        if (started) {
            m_terminalNotifier =
                std::make_unique<QSocketNotifier>(m_terminal->readSide(), QSocketNotifier::Read);
            QObject::connect(m_terminalNotifier.get(), &QSocketNotifier::activated,
                             [this] { readTerminal(); });
        }
    }
    if (!started)
        return false;
    m_group = m_process.processId();
    m_process.closeWriteChannel();
    m_stopper = m_cancellation->add(&m_process, [this] {
        if (isRunning())
            terminate();
    });
    return true;
}

bool ChildProcess::prepareInput()
{
    int ends[2];
    if (!openInputPipe(ends)) {
        m_startError = systemError("pipe", errno);
        return false;
    }
    int error = 0;
    for (const QByteArrayView piece : m_input) {
        if ((error = writeAll(ends[1], piece)) != 0)
            break;
    }
    ::close(ends[1]);
    m_input.clear();
    if (error != 0) {
        ::close(ends[0]);
        m_startError = systemError("write", error);
        return false;
    }
    m_inputDescriptor = ends[0];
    m_process.setStandardInputFile(QProcess::nullDevice());
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
        QObject::connect(timer.get(), &QTimer::timeout, [this, action = action] {
            if (isRunning())
                action();
        });
        timer->start(after);
        m_timers.push_back(std::move(timer));
    }
    if (m_process.state() != QProcess::NotRunning)
        loop.exec();
    // The tool has gone; what it wrote last may still wait in the terminal.
    if (m_terminalNotifier && m_terminalNotifier->isEnabled())
        readTerminal();
    // A tool asked to end may leave behind what it started, when that ignores the request; it
    // is ended with the tool instead of outliving it.
    if (m_terminating)
        signalGroup(SIGKILL);
    m_timers.clear();
}

bool ChildProcess::waitForExit(std::chrono::milliseconds limit)
{
    bool ended = false;
    addTimeLimit(limit, [this, &ended] {
        ended = true;
        terminate();
    });
    waitForExit();
    return !ended;
}

bool ChildProcess::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

void ChildProcess::signalGroup(int signal)
{
    if (m_group > 0)
        ::kill(-pid_t(m_group), signal);
}

void ChildProcess::terminate()
{
    m_terminating = true;
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

void ChildProcess::readTerminal()
{
    bool ended = false;
    const QByteArray bytes = m_terminal->readAvailable(&ended);
    if (ended)
        m_terminalNotifier->setEnabled(false);
    if (bytes.isEmpty())
        return;
    if (m_reading && m_outputHandler)
        m_outputHandler(bytes);
    else
        m_terminalOutput += bytes;
}

void ChildProcess::stopReading()
{
    m_reading = false;
}

QByteArray ChildProcess::readRemainingOutput()
{
    if (m_terminal)
        return std::exchange(m_terminalOutput, {});
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
