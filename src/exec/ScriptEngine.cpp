#include "exec/ScriptEngine.h"

#include "exec/ChildProcess.h"
#include "exec/Utf8Text.h"
#include "host/Host.h"

#include <QRegularExpression>

#ifdef Q_OS_MACOS
std::optional<ScriptOutcome> executeAppleScriptInProcess(const QString &source);
#endif

namespace {

std::optional<ScriptOutcome> executeWithOsascript(const QString &source)
{
    ChildProcess osascript(Host::current().osascript(), {QStringLiteral("-e"), source});
    if (!osascript.start())
        return ScriptOutcome{std::nullopt, osascript.errorString(), std::nullopt};
    osascript.waitForExit();
    return scriptOutcomeFromOsascript(osascript.exitStatus(), osascript.readRemainingOutput(),
                                      osascript.readRemainingError());
}

} // namespace

ScriptOutcome scriptOutcomeFromOsascript(int exitStatus, const QByteArray &output,
                                         const QByteArray &error)
{
    if (exitStatus == 0) {
        QString result = decodeUtf8(output).value_or(QString());
        // osascript ends the result with a line break of its own.
        if (result.endsWith(u'\n'))
            result.chop(1);
        return ScriptOutcome{result, std::nullopt, std::nullopt};
    }
    const auto errorText = decodeUtf8(error);
    if (!errorText)
        return ScriptOutcome{};
    return scriptFailureFromOsascript(*errorText);
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

std::optional<ScriptOutcome> executeAppleScript(const QString &source)
{
#ifdef Q_OS_MACOS
    if (!Host::current().isStandIn())
        return executeAppleScriptInProcess(source);
#endif
    return executeWithOsascript(source);
}
