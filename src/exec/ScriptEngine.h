#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

// What running one AppleScript gave: its result on success, otherwise whatever error details
// the engine reported (either may be missing).
struct ScriptOutcome {
    std::optional<QString> result;
    std::optional<QString> errorMessage;
    std::optional<qint64> errorNumber;
};

// Runs an AppleScript through the host's osascript, blocking the calling thread until it has
// finished, and reads its answer. A script still running after `limit` is ended and fails with a
// message saying so. (A child process rather than the in-process script service, because only a
// child can be ended when a script hangs on an unanswered prompt or a stuck volume.)
ScriptOutcome executeAppleScript(const QString &source, std::chrono::milliseconds limit);

// Reads the standard error of osascript ("0:38: execution error: MESSAGE (NUMBER)").
ScriptOutcome scriptFailureFromOsascript(const QString &errorText);

// Reads a whole osascript answer: its exit status and both of its streams.
ScriptOutcome scriptOutcomeFromOsascript(int exitStatus, const QByteArray &output,
                                         const QByteArray &error);
