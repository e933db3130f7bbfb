// The streamed administrator command of AppleScriptHelper: output is handed over while the
// command runs, which the USB engine turns into live progress, for as many hours as it takes.

#include "exec/AppleScriptHelper.h"

#include "exec/AdministratorRights.h"
#include "exec/ChildProcess.h"
#include "exec/JobFolder.h"
#include "exec/JobThreads.h"
#include "exec/MainThread.h"
#include "exec/NamedPipeReader.h"
#include "exec/ScriptEngine.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/OutputTail.h"
#include "model/ShellQuote.h"
#include "model/Timing.h"
#include "model/Utf8Text.h"

#include <QCoreApplication>
#include <QRandomGenerator>

namespace {

const char *const rightsTimeout = QT_TRANSLATE_NOOP(
    "AppleScriptHelper", "Timeout while waiting for admin privileges. Please try again.");
const char *const streamTimeout = QT_TRANSLATE_NOOP(
    "AppleScriptHelper", "Operation timed out after 3 hours. Terminating process.");

// osascript hands back nothing of a `do shell script` before the command ends, so the command's
// streams go to named pipes in a folder only this user can open, and the privileged shell first
// writes a line only this run knows: until that line comes, the system is still asking for the
// password.
QString rightsMarker()
{
    return QStringLiteral("tessaline-rights-%1")
        .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
}

QString streamedCommand(const QString &command, const QString &outputPipe, const QString &errorPipe,
                        const QString &marker)
{
    const QString script = QStringLiteral("exec >") + shellQuoted(outputPipe) +
                           QStringLiteral(" 2>") + shellQuoted(errorPipe) +
                           QStringLiteral("; printf '%s\\n' ") + shellQuoted(marker) +
                           QStringLiteral("; ") + command;
    return shellCommand({Host::current().bash(), QStringLiteral("-c"), script});
}

void streamAdminCommand(const QString &command, const AppleScriptHelper::TextHandler &outputHandler,
                        const AppleScriptHelper::TextHandler &errorHandler,
                        const AppleScriptHelper::CompletionHandler &completionHandler)
{
    printDiagnostic(QStringLiteral("Executing command: ") + QString(command).replace(u'"', u'\''));
    const Timing timing = Timing::current();
    const auto failToLaunch = [&](const QString &why) {
        //: %1 is the system's reason
        const char *const failed =
            QT_TRANSLATE_NOOP("AppleScriptHelper", "Failed to launch command: %1");
        printDiagnostic(QString::fromUtf8(failed).arg(why));
        const QString error = QCoreApplication::translate("AppleScriptHelper", failed).arg(why);
        runOnMainThread([completionHandler, error] { completionHandler(1, std::nullopt, error); });
    };

    // Everything below runs on this thread only, so these need no locking. What the command says
    // is kept for its result as bytes, only its last part, and decoded once at the end.
    OutputTail outputTail;
    OutputTail errorTail;
    const QString marker = rightsMarker();
    QByteArray beforeMarker;
    bool rightsGranted = false;
    Utf8ChunkDecoder outputDecoder;
    Utf8ChunkDecoder errorDecoder;
    MainThreadFeed feed;
    auto deliver = [&feed](const AppleScriptHelper::TextHandler &handler, const QString &text) {
        feed.post([handler, text] { handler(text); });
    };
    const auto takeOutput = [&](const QByteArray &chunk) {
        const QByteArray bytes = outputDecoder.completeCharacters(chunk);
        if (bytes.isEmpty())
            return;
        printDiagnostic("Command output: ", bytes);
        outputTail.append(bytes);
        deliver(outputHandler, QString::fromUtf8(bytes));
    };
    const auto takeError = [&](const QByteArray &chunk) {
        const QByteArray bytes = errorDecoder.completeCharacters(chunk);
        if (bytes.isEmpty())
            return;
        printDiagnostic("Command error: ", bytes);
        errorTail.append(bytes);
        deliver(errorHandler, QString::fromUtf8(bytes));
    };

    const JobFolder folder(QStringLiteral("tessaline-admin"));
    if (!folder.isValid())
        return failToLaunch(folder.errorString());
    NamedPipeReader outputPipe(folder, QStringLiteral("output"), [&](const QByteArray &chunk) {
        if (rightsGranted)
            return takeOutput(chunk);
        beforeMarker += chunk;
        const qsizetype lineEnd = beforeMarker.indexOf('\n');
        if (lineEnd < 0)
            return;
        rightsGranted = true;
        // Anything else there is the command's, though the shell writes the line first.
        const QByteArray first = beforeMarker.left(lineEnd);
        const QByteArray rest =
            first == marker.toLatin1() ? beforeMarker.mid(lineEnd + 1) : beforeMarker;
        beforeMarker.clear();
        printDiagnostic(QStringLiteral("Admin privileges granted"));
        if (!rest.isEmpty())
            takeOutput(rest);
    });
    NamedPipeReader errorPipe(folder, QStringLiteral("error"), takeError);
    if (!outputPipe.isOpen() || !errorPipe.isOpen())
        return failToLaunch(outputPipe.isOpen() ? errorPipe.errorString()
                                                : outputPipe.errorString());

    ChildProcess process(
        Host::current().osascript(),
        {QStringLiteral("-e"), AdministratorRights::promptScript(streamedCommand(
                                   command, outputPipe.path(), errorPipe.path(), marker))});
    // osascript's own streams carry only its account of the request: a refusal, an error number.
    OutputTail scriptError;
    process.onOutput([](const QByteArray &) {});
    process.onError([&](const QByteArray &chunk) { scriptError.append(chunk); });
    std::optional<QString> runnerError;
    // Only a command that has not got its rights yet is still at the password prompt.
    process.addTimeLimit(timing.adminRightsWait, [&] {
        if (rightsGranted)
            return;
        printDiagnostic(QStringLiteral("Admin privileges timeout triggered"));
        runnerError = QCoreApplication::translate("AppleScriptHelper", rightsTimeout);
        process.terminate();
    });
    process.addTimeLimit(timing.adminStreamLimit, [&] {
        printDiagnostic(QStringLiteral("Operation timeout triggered after 3 hours"));
        runnerError = QCoreApplication::translate("AppleScriptHelper", streamTimeout);
        process.terminate();
    });

    if (!process.start())
        return failToLaunch(process.errorString());
    process.waitForExit();
    process.stopReading();
    scriptError.append(process.readRemainingError());

    // What the pipes still held when the command ended.
    outputPipe.drain();
    errorPipe.drain();
    if (!beforeMarker.isEmpty())
        takeOutput(beforeMarker);
    if (const QByteArray rest = outputDecoder.finish(); !rest.isEmpty()) {
        outputTail.append(rest);
        deliver(outputHandler, QString::fromUtf8(rest));
    }
    if (const QByteArray rest = errorDecoder.finish(); !rest.isEmpty()) {
        errorTail.append(rest);
        deliver(errorHandler, QString::fromUtf8(rest));
    }

    const std::optional<QString> output =
        outputTail.isEmpty() ? std::nullopt : std::optional(decodeUtf8(outputTail.bytes()));
    int status = process.exitStatus();
    std::optional<QString> error = runnerError;
    const QString scriptText = decodeUtf8(scriptError.bytes());
    if (AdministratorRights::promptRefused(scriptText)) {
        status = 126;
        error = QCoreApplication::translate("AppleScriptHelper",
                                            "Admin privileges required but not granted");
    } else if (!runnerError && status != 0) {
        // Once the command has run, osascript's error number is the command's own status and
        // the command has said why through its pipes; before, osascript's text is all there is.
        const ScriptOutcome outcome = scriptFailureFromOsascript(scriptText);
        if (rightsGranted && outcome.errorNumber && *outcome.errorNumber > 0 &&
            *outcome.errorNumber <= 255)
            status = int(*outcome.errorNumber);
        else if (!rightsGranted && !scriptText.isEmpty())
            error = scriptText;
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
    JobThreads::start(
        [=] { streamAdminCommand(command, outputHandler, errorHandler, completionHandler); });
}
