#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What running one AppleScript gave: its result on success, otherwise whatever error details
// the engine reported (either may be missing).
struct ScriptOutcome {
    std::optional<QString> result;
    std::optional<QString> errorMessage;
    std::optional<qint64> errorNumber;
};

// Compiles and runs an AppleScript, blocking the calling thread until it has finished. Nothing
// when the script could not even be created. On a Mac this is the system's in-process script
// service; on a stand-in Mac the stand-in's osascript, read the way osascript answers.
std::optional<ScriptOutcome> executeAppleScript(const QString &source);

// Reads the standard error of osascript ("0:38: execution error: MESSAGE (NUMBER)").
ScriptOutcome scriptFailureFromOsascript(const QString &errorText);

// Reads a whole osascript answer: its exit status and both of its streams.
ScriptOutcome scriptOutcomeFromOsascript(int exitStatus, const QByteArray &output,
                                         const QByteArray &error);
