// The streamed administrator command of AppleScriptHelper: output is handed over while the
// command runs, which the USB engine turns into live progress.

#include "exec/AppleScriptHelper.h"

#include "exec/ChildProcess.h"
#include "exec/MainThread.h"
#include "exec/Utf8Text.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/OutputTail.h"
#include "model/Timing.h"

#include <QThreadPool>

namespace {

void streamAdminCommand(const QString &command, const AppleScriptHelper::TextHandler &outputHandler,
                        const AppleScriptHelper::TextHandler &errorHandler,
                        const AppleScriptHelper::CompletionHandler &completionHandler)
{
    printDiagnostic(QStringLiteral("Executing command: ") + QString(command).replace(u'"', u'\''));
    const Timing timing = Timing::current();
    ChildProcess process(Host::current().osascript(),
                         {QStringLiteral("-e"), AppleScriptHelper::adminScript(command)});

    // Everything below runs on this thread only, so these need no locking. What the command says
    // is kept for its result as bytes, only its last part, and decoded once at the end.
    OutputTail outputTail;
    OutputTail errorTail;
    bool outputSeen = false;
    bool accessDenied = false;
    Utf8ChunkDecoder outputDecoder;
    Utf8ChunkDecoder errorDecoder;
    auto deliver = [](const AppleScriptHelper::TextHandler &handler, const QString &text) {
        runOnMainThread([handler, text] { handler(text); });
    };

    process.onOutput([&](const QByteArray &chunk) {
        if (chunk.isEmpty())
            return;
        outputSeen = true;
        const QByteArray bytes = outputDecoder.completeCharacters(chunk);
        if (bytes.isEmpty())
            return;
        printDiagnostic("Command output: ", bytes);
        outputTail.append(bytes);
        deliver(outputHandler, QString::fromUtf8(bytes));
    });
    process.onError([&](const QByteArray &chunk) {
        const QByteArray bytes = errorDecoder.completeCharacters(chunk);
        if (bytes.isEmpty())
            return;
        printDiagnostic("Command error: ", bytes);
        errorTail.append(bytes);
        const QString text = QString::fromUtf8(bytes);
        if (AppleScriptHelper::namesDenial(text))
            accessDenied = true;
        deliver(errorHandler, text);
    });
    // A command that has printed nothing is still waiting at the password prompt.
    process.addTimeLimit(timing.adminRightsWait, [&] {
        if (outputSeen)
            return;
        printDiagnostic(QStringLiteral("Admin privileges timeout triggered"));
        errorHandler(
            QStringLiteral("Timeout while waiting for admin privileges. Please try again."));
        process.terminate();
    });
    process.addTimeLimit(timing.adminStreamLimit, [&] {
        printDiagnostic(QStringLiteral("Operation timeout triggered after 3 hours"));
        outputHandler(
            QStringLiteral("\nOperation timed out after 3 hours. Terminating process.\n"));
        process.terminate();
    });

    if (!process.start()) {
        const QString error = QStringLiteral("Failed to launch command: ") + process.errorString();
        printDiagnostic(error);
        runOnMainThread([completionHandler, error] { completionHandler(1, std::nullopt, error); });
        return;
    }
    process.waitForExit();
    process.stopReading();

    // What the pipes still held when the command ended.
    if (const QByteArray rest =
            outputDecoder.completeCharacters(process.readRemainingOutput()) + outputDecoder.finish();
        !rest.isEmpty()) {
        outputTail.append(rest);
        deliver(outputHandler, QString::fromUtf8(rest));
    }
    if (const QByteArray rest =
            errorDecoder.completeCharacters(process.readRemainingError()) + errorDecoder.finish();
        !rest.isEmpty()) {
        errorTail.append(rest);
        deliver(errorHandler, QString::fromUtf8(rest));
    }

    const std::optional<QString> output =
        outputTail.isEmpty() ? std::nullopt : std::optional(decodeUtf8(outputTail.bytes()));
    int status = process.exitStatus();
    std::optional<QString> error =
        errorTail.isEmpty() ? std::nullopt : std::optional(decodeUtf8(errorTail.bytes()));
    if (accessDenied) {
        status = 126;
        error = QStringLiteral("Admin privileges required but not granted");
    }
    runOnMainThread([completionHandler, status, output, error] {
        printDiagnostic(QStringLiteral("Command completed with status: %1").arg(status));
        completionHandler(status, output, error);
    });
}

} // namespace

void AppleScriptHelper::runShellCommandWithAdminPrivilegesAsync(const QString &command,
                                                                TextHandler outputHandler,
                                                                TextHandler errorHandler,
                                                                CompletionHandler completionHandler)
{
    QThreadPool::globalInstance()->start(
        [=] { streamAdminCommand(command, outputHandler, errorHandler, completionHandler); });
}
