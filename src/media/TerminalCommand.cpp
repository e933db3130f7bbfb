// The terminal path of USBCreator: a command run through sudo, which reads the password from a
// pipe this process fills, with its output streamed while it runs. No shell takes part and the
// password is never written to a file: it goes from its one buffer into the pipe, and the buffer
// is zeroed as soon as the pipe holds it.

#include "media/USBCreator.h"

#include "exec/AdministratorRights.h"
#include "exec/ChildProcess.h"
#include "exec/JobThreads.h"
#include "exec/MainThread.h"
#include "model/Diagnostics.h"
#include "model/ShellQuote.h"
#include "model/Timing.h"
#include "model/Utf8Text.h"

#include <memory>

namespace {

constexpr qint32 startFailureStatus = -1;
constexpr qint32 timeoutStatus = -15;

void runTerminalCommand(const QStringList &command, Secret &password,
                        const USBCreator::TextHandler &outputHandler,
                        const USBCreator::TextHandler &errorHandler,
                        const std::function<void(qint32)> &completionHandler)
{
    printDiagnostic(QStringLiteral("Executing terminal command: ") +
                    USBCreator::terminalCommandText(command));
    const AdministratorRights::SudoCall sudo = AdministratorRights::sudoCall(command);
    ChildProcess process(sudo.program, sudo.arguments);
    process.setEnvironment(sudo.environment);
    // sudo reads one line as the password.
    process.setInput({password.bytes(), "\n"});

    // Everything below runs on this thread only, so the decoders need no locking.
    Utf8ChunkDecoder outputDecoder;
    Utf8ChunkDecoder errorDecoder;
    MainThreadFeed feed;
    auto forward = [&feed](Utf8ChunkDecoder &decoder, const USBCreator::TextHandler &handler,
                           const QByteArray &bytes) {
        const QString text = decoder.decode(bytes);
        if (text.isEmpty())
            return;
        feed.post([handler, text] { handler(text); });
    };
    process.onOutput(
        [&](const QByteArray &bytes) { forward(outputDecoder, outputHandler, bytes); });
    process.onError([&](const QByteArray &bytes) { forward(errorDecoder, errorHandler, bytes); });
    process.addTimeLimit(Timing::current().terminalCommandLimit, [&] {
        printDiagnostic(QStringLiteral("Terminal command time limit reached, terminating it"));
        process.terminate();
        // Callers stop waiting here; the command's own status still follows once it is gone.
        runOnMainThread([errorHandler, completionHandler] {
            errorHandler(
                QCoreApplication::translate("USBCreator", "Process timeout exceeded (2 hours)"));
            completionHandler(timeoutStatus);
        });
    });

    const bool started = process.start();
    // The pipe has the password now (or never will): this was its last copy in the program.
    password.clear();
    if (!started) {
        const QString reason = process.errorString();
        printDiagnostic(QStringLiteral("Failed to execute command: ") + reason);
        //: %1 is the system's reason.
        const QString error =
            QCoreApplication::translate("USBCreator", "Failed to execute command: %1").arg(reason);
        runOnMainThread([errorHandler, completionHandler, error] {
            errorHandler(error);
            completionHandler(startFailureStatus);
        });
        return;
    }
    process.waitForExit();
    process.stopReading();
    // What the pipes still held when the command ended.
    forward(outputDecoder, outputHandler, process.readRemainingOutput());
    forward(errorDecoder, errorHandler, process.readRemainingError());

    const qint32 status = process.exitStatus();
    printDiagnostic(QStringLiteral("Terminal command completed with status: %1").arg(status));
    runOnMainThread([completionHandler, status] { completionHandler(status); });
}

} // namespace

QString USBCreator::terminalCommandText(const QStringList &command)
{
    return QStringLiteral("sudo ") + shellCommand(command);
}

void USBCreator::executeTerminalCommand(const QStringList &command, Secret password,
                                        TextHandler outputHandler, TextHandler errorHandler,
                                        std::function<void(qint32)> completionHandler)
{
    // The pool's tasks are copied; the one buffer is shared between the copies, not copied.
    auto secret = std::make_shared<Secret>(std::move(password));
    JobThreads::start([=] {
        runTerminalCommand(command, *secret, outputHandler, errorHandler, completionHandler);
    });
}
