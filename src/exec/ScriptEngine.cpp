#include "exec/ScriptEngine.h"

#include "exec/ChildProcess.h"
#include "host/Host.h"
#include "model/Timing.h"
#include "model/Utf8Text.h"

#include <QCoreApplication>
#include <QRegularExpression>

ScriptOutcome scriptOutcomeFromOsascript(int exitStatus, const QByteArray &output,
                                         const QByteArray &error)
{
    if (exitStatus == 0) {
        QString result = decodeUtf8(output);
        // osascript ends the result with a line break of its own.
        if (result.endsWith(u'\n'))
            result.chop(1);
        return ScriptOutcome{result, std::nullopt, std::nullopt};
    }
    return scriptFailureFromOsascript(decodeUtf8(error));
}

ScriptOutcome scriptFailureFromOsascript(const QString &errorText)
{
    static const QRegularExpression form(
        QStringLiteral("^-?\\d+:-?\\d+: [a-z ]*error: (.*) \\((-?\\d+)\\)\\s*$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = form.match(errorText);
    if (match.hasMatch()) {
        bool isNumber = false;
        const qint64 number = match.captured(2).toLongLong(&isNumber);
        return ScriptOutcome{std::nullopt, match.captured(1),
                             isNumber ? std::optional<qint64>(number) : std::nullopt};
    }
    const QString trimmed = errorText.trimmed();
    if (trimmed.isEmpty())
        return ScriptOutcome{};
    return ScriptOutcome{std::nullopt, trimmed, std::nullopt};
}

ScriptOutcome executeAppleScript(const QString &source, std::chrono::milliseconds limit)
{
    ChildProcess osascript(Host::current().osascript(), {QStringLiteral("-e"), source});
    if (!osascript.start())
        return ScriptOutcome{std::nullopt, osascript.errorString(), std::nullopt};
    if (!osascript.waitForExit(limit))
        //: %1 is a time limit such as “2 minutes”
        return ScriptOutcome{
            std::nullopt,
            QCoreApplication::translate("ScriptEngine", "The script did not finish within %1")
                .arg(Timing::describe(limit)),
            std::nullopt};
    return scriptOutcomeFromOsascript(osascript.exitStatus(), osascript.readRemainingOutput(),
                                      osascript.readRemainingError());
}
