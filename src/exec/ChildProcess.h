#pragma once

#include "exec/Cancellation.h"
#include "exec/OutputTerminal.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;
class QTimer;

// One child process run to its end on the calling thread, which is a background thread: the
// thread runs its own event loop while it waits, so both pipes are drained as data arrives (a
// chatty tool never stalls), chunks reach their callbacks as they come, and time limits fire.
// Everything here happens on the calling thread; nothing is shared with other threads, but for
// the calling thread's job cancellation (or, outside a job, the one quitting requests): once it is
// requested, the process is terminated as by terminate(), and a process not yet started does not
// start.
class ChildProcess {
public:
    using ChunkHandler = std::function<void(const QByteArray &)>;

    // Runs `program` with `arguments` in the host's environment. The child's standard input is
    // empty unless setInput() gives it something: nothing it reads will ever block.
    ChildProcess(const QString &program, const QStringList &arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Chunks of standard output and error, as they arrive. Without a handler the chunks stay
    // buffered for readRemainingOutput()/readRemainingError().
    void onOutput(ChunkHandler handler) { m_outputHandler = std::move(handler); }
    void onError(ChunkHandler handler) { m_errorHandler = std::move(handler); }
    // Runs `action` once, `after` from the start of waitForExit(), if the process is still
    // running then.
    void addTimeLimit(std::chrono::milliseconds after, std::function<void()> action);
    // Replaces the host's environment for this child.
    void setEnvironment(const QProcessEnvironment &environment)
    {
        m_process.setProcessEnvironment(environment);
    }
    // What the child reads on its standard input, which ends after it. start() writes the pieces
    // into a pipe of this object's own, before the child exists, and closes it: no buffer but the
    // caller's and the kernel's ever holds them, so the caller may wipe its own once start() has
    // returned. They must fit in the pipe (a few kilobytes at least, a password line easily).
    void setInput(std::vector<QByteArrayView> pieces) { m_input = std::move(pieces); }
    // Gives the child a pseudo-terminal as its standard output instead of a pipe, for tools that
    // report progress only to a terminal. What it writes there arrives as standard output does,
    // with each "\n" as "\r\n".
    void setOutputToTerminal() { m_terminal = std::make_unique<OutputTerminal>(); }

    // Launches the process; false when it could not be started (errorString() says why), also
    // when its job has been cancelled.
    bool start();
    // Returns once the process has exited, handling its output and time limits meanwhile.
    void waitForExit();
    // The same, ending the process and what it started once `limit` has passed; false when it
    // had to be ended.
    bool waitForExit(std::chrono::milliseconds limit);
    bool isRunning() const;
    // Asks the process and what it started to terminate, and kills them when they have not gone
    // after the grace period. What it started is killed at the latest when the process has gone.
    void terminate();
    // The chunk handlers are not called any more; later output stays in the buffers.
    void stopReading();

    QByteArray readRemainingOutput();
    QByteArray readRemainingError();
    // The exit status, or the signal number for a process ended by a signal.
    int exitStatus() const;
    QString errorString() const
    {
        return m_startError.isEmpty() ? m_process.errorString() : m_startError;
    }

    Q_DECLARE_TR_FUNCTIONS(ChildProcess)

private:
    // Sends `signal` to the tool and everything it started.
    void signalGroup(int signal);
    // Makes the pipe setInput() asked for and fills it; false with m_startError set on failure.
    bool prepareInput();
    // Hands what the terminal holds to the output handler, or keeps it for readRemainingOutput().
    void readTerminal();

    QProcess m_process;
    ChunkHandler m_outputHandler;
    ChunkHandler m_errorHandler;
    std::vector<std::pair<std::chrono::milliseconds, std::function<void()>>> m_timeLimits;
    std::vector<std::unique_ptr<QTimer>> m_timers;
    // The job this process belongs to (or the work outside jobs), and its registration there
    // while it runs.
    std::shared_ptr<Cancellation> m_cancellation = Cancellation::governing();
    int m_stopper = 0;
    // The tool's process group: its process id, kept for after it has exited.
    qint64 m_group = 0;
    bool m_terminating = false;
    // Why the program was not started, when that was decided before QProcess was asked.
    QString m_startError;
    bool m_reading = true;
    std::vector<QByteArrayView> m_input;
    // The reading end of the input pipe until the child has it as its standard input.
    int m_inputDescriptor = -1;
    std::unique_ptr<OutputTerminal> m_terminal;
    std::unique_ptr<QSocketNotifier> m_terminalNotifier;
    QByteArray m_terminalOutput;
};
