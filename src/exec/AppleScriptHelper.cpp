#include "exec/AppleScriptHelper.h"

#include "exec/AppleScriptString.h"
#include "exec/ChildProcess.h"
#include "exec/MainThread.h"
#include "exec/ScriptEngine.h"
#include "exec/Utf8Text.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/OutputTail.h"
#include "model/ShellQuote.h"
#include "model/Timing.h"

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
    if (recogniseDenial && AppleScriptHelper::namesDenial(errorText))
        //: %1 is what the system said when the administrator prompt was refused
        return {process.exitStatus(),
                QCoreApplication::translate("AppleScriptHelper", "Admin authorization denied: %1")
                    .arg(errorText)};
    return {process.exitStatus(), errorText};
}

} // namespace

bool AppleScriptHelper::namesDenial(const QString &errorText)
{
    return errorText.contains(QLatin1String("authorization denied")) ||
           errorText.contains(QLatin1String("User canceled"));
}

QString AppleScriptHelper::adminScript(const QString &command)
{
    // The rights come with the session's environment; env -i leaves the tool none of it.
    const QString clean = shellCommand(Host::current().cleanCommandPrefix()) + u' ' + command;
    return QStringLiteral("do shell script ") + appleScriptString(clean) +
           QStringLiteral(" with administrator privileges");
}

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
    const QString message =
        outcome && outcome->errorMessage ? *outcome->errorMessage : tr("Unknown error");
    const qint64 number = outcome ? outcome->errorNumber.value_or(-1) : -1;
    if (AppleScriptHelper::namesDenial(message)) {
        // The engine's number becomes the status, unless it would read as success or fits none.
        const bool usable = number != 0 && number >= std::numeric_limits<int>::min() &&
                            number <= std::numeric_limits<int>::max();
        //: %1 is what the system said when the administrator prompt was refused
        return {usable ? int(number) : 1, tr("Admin authorization denied: %1").arg(message)};
    }
    //: %1 is the script engine's error number, %2 its message
    return {1, tr("AppleScript Error %1: %2").arg(QString::number(number), message)};
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
                         {QStringLiteral("-e"), adminScript(command)},
                         Timing::current().adminCommandLimit,
                         tr("Operation timed out after 30 minutes")},
                        true);
}
