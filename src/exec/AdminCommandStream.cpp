// The streamed administrator command of AppleScriptHelper: output is handed over while the
// command runs, which the USB engine turns into live progress.

#include "exec/AppleScriptHelper.h"

#include "exec/ChildProcess.h"
#include "exec/MainThread.h"
#include "exec/Utf8Text.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
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

    // Everything below runs on this thread only, so these need no locking.
    QString collectedOutput;
    QString collectedError;
    bool outputSeen = false;
    bool accessDenied = false;
    Utf8ChunkDecoder outputDecoder;
    Utf8ChunkDecoder errorDecoder;
    auto deliver = [](const AppleScriptHelper::TextHandler &handler, const QString &text) {
        runOnMainThread([handler, text] { handler(text); });
    };

    process.onOutput([&](const QByteArray &bytes) {
        if (bytes.isEmpty())
            return;
        outputSeen = true;
        const auto text = outputDecoder.decode(bytes);
        if (!text || text->isEmpty())
            return;
        printDiagnostic(QStringLiteral("Command output: ") + *text);
        collectedOutput += *text;
        deliver(outputHandler, *text);
    });
    process.onError([&](const QByteArray &bytes) {
        const auto text = errorDecoder.decode(bytes);
        if (!text || text->isEmpty())
            return;
        printDiagnostic(QStringLiteral("Command error: ") + *text);
        collectedError += *text;
        if (AppleScriptHelper::namesDenial(*text))
            accessDenied = true;
        deliver(errorHandler, *text);
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
    if (const auto rest = outputDecoder.decode(process.readRemainingOutput());
        rest && !rest->isEmpty()) {
        collectedOutput += *rest;
        deliver(outputHandler, *rest);
    }
    if (const auto rest = errorDecoder.decode(process.readRemainingError());
        rest && !rest->isEmpty()) {
        collectedError += *rest;
        deliver(errorHandler, *rest);
    }

    const std::optional<QString> output =
        collectedOutput.isEmpty() ? std::nullopt : std::optional(collectedOutput);
    int status = process.exitStatus();
    std::optional<QString> error =
        collectedError.isEmpty() ? std::nullopt : std::optional(collectedError);
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
