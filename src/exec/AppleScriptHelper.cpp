#include "exec/AppleScriptHelper.h"

#include "exec/AdministratorRights.h"
#include "exec/ChildProcess.h"
#include "exec/MainThread.h"
#include "exec/ScriptEngine.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/OutputTail.h"
#include "model/Timing.h"
#include "model/Utf8Text.h"

#include <QThreadPool>

#include <limits>

namespace {

struct TimedRun {
    QString launchPath;
    QStringList arguments;
    std::chrono::milliseconds limit;
    QString timeoutText;
};

// Runs a child process to its end or its limit; the last part of both streams is kept.
AppleScriptHelper::Result runWithLimit(const TimedRun &run, bool recogniseDenial)
{
    ChildProcess process(run.launchPath, run.arguments);
    OutputTail output;
    OutputTail error;
    process.onOutput([&output](const QByteArray &chunk) { output.append(chunk); });
    process.onError([&error](const QByteArray &chunk) { error.append(chunk); });
    if (!process.start())
        //: %1 is the system's reason
        return {1, QCoreApplication::translate("AppleScriptHelper", "Failed to run command: %1")
                       .arg(process.errorString())};
    const bool timedOut = !process.waitForExit(run.limit);
    output.append(process.readRemainingOutput());
    error.append(process.readRemainingError());
    if (timedOut)
        return {1, run.timeoutText};
    if (process.exitStatus() == 0)
        return {0, decodeUtf8(output.bytes())};
    const QString errorText = decodeUtf8(error.bytes());
    if (recogniseDenial && AdministratorRights::promptRefused(errorText))
        //: %1 is what the system said when the administrator prompt was refused
        return {process.exitStatus(),
                QCoreApplication::translate("AppleScriptHelper", "Admin authorization denied: %1")
                    .arg(errorText)};
    return {process.exitStatus(), errorText};
}

} // namespace

AppleScriptHelper::Result AppleScriptHelper::runScript(const QString &script)
{
    return runScript(script, Timing::current().scriptLimit);
}

AppleScriptHelper::Result AppleScriptHelper::runScript(const QString &script,
                                                       std::chrono::milliseconds limit)
{
    return resultOf(executeAppleScript(script, limit));
}

AppleScriptHelper::Result AppleScriptHelper::resultOf(const std::optional<ScriptOutcome> &outcome)
{
    if (outcome && outcome->result)
        return {0, *outcome->result};
    const char *const unknownError = QT_TR_NOOP("Unknown error");
    const bool said = outcome && outcome->errorMessage;
    const QString message = said ? *outcome->errorMessage : tr(unknownError);
    const QString englishMessage = said ? *outcome->errorMessage : QString::fromUtf8(unknownError);
    const qint64 number = outcome ? outcome->errorNumber.value_or(-1) : -1;
    if (AdministratorRights::promptRefused(message)) {
        // The engine's number becomes the status, unless it would read as success or fits none.
        const bool usable = number != 0 && number >= std::numeric_limits<int>::min() &&
                            number <= std::numeric_limits<int>::max();
        //: %1 is what the system said when the administrator prompt was refused
        const char *const denied = QT_TR_NOOP("Admin authorization denied: %1");
        return {usable ? int(number) : 1, tr(denied).arg(message),
                QString::fromUtf8(denied).arg(englishMessage)};
    }
    //: %1 is the script engine's error number, %2 its message
    const char *const failed = QT_TR_NOOP("AppleScript Error %1: %2");
    const QString numberText = QString::number(number);
    return {1, tr(failed).arg(numberText, message),
            QString::fromUtf8(failed).arg(numberText, englishMessage)};
}

AppleScriptHelper::Result AppleScriptHelper::runCommand(const QString &command)
{
    return runWithLimit({Host::current().bash(),
                         {QStringLiteral("-c"), command},
                         Timing::current().commandLimit,
                         tr("Operation timed out after 5 minutes")},
                        false);
}

std::optional<QString> AppleScriptHelper::getCommandOutput(const QString &command)
{
    const Result result = runCommand(command);
    if (result.status != 0)
        return std::nullopt;
    return result.output;
}

AppleScriptHelper::Result AppleScriptHelper::runWithAdminPrivileges(const QString &command)
{
    return runWithLimit({Host::current().osascript(),
                         {QStringLiteral("-e"), AdministratorRights::promptScript(command)},
                         Timing::current().adminCommandLimit,
                         tr("Operation timed out after 30 minutes")},
                        true);
}
