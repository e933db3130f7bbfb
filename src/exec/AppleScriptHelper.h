#pragma once

#include "exec/ScriptEngine.h"

#include <QCoreApplication>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

// Runs AppleScripts and shell commands, with or without administrator rights. The rights are
// asked for through the system's prompt (see AdministratorRights).
//
// The synchronous operations block the calling thread (call them off the main thread); the
// asynchronous one returns at once and reports on the main thread.
class AppleScriptHelper {
public:
    // Status 0 with the result text, or another status with an error text.
    struct Result {
        int status;
        QString output;
        // The same in English where `output` is this program's own account in the reader's
        // language ("AppleScript Error 1: ..."); empty where it is the script's or tool's own.
        QString englishOutput = {};

        // What a diagnostic line says of the result: always English but for the tool's words.
        QString diagnosticText() const { return englishOutput.isEmpty() ? output : englishOutput; }
        // The same result is the same status and the same text for the user.
        friend bool operator==(const Result &a, const Result &b)
        {
            return a.status == b.status && a.output == b.output;
        }
    };

    using TextHandler = std::function<void(const QString &text)>;
    using CompletionHandler = std::function<void(int status, const std::optional<QString> &output,
                                                 const std::optional<QString> &error)>;

    // Runs an AppleScript, ended after the script limit or after `limit`.
    static Result runScript(const QString &script);
    static Result runScript(const QString &script, std::chrono::milliseconds limit);
    // What runScript makes of the script engine's outcome, or of no outcome at all.
    static Result resultOf(const std::optional<ScriptOutcome> &outcome);
    static Result runCommand(const QString &command);
    static std::optional<QString> getCommandOutput(const QString &command);
    // Runs `command` with administrator rights through osascript, ended after the administrator
    // command limit.
    static Result runWithAdminPrivileges(const QString &command);

    // Runs `command` with administrator rights on a background thread, streaming its output
    // while it runs. Output chunks, error chunks and then the completion arrive on the main
    // thread in the order they happened. The completion's status is the command's own; its error
    // is the runner's account (the prompt refused or never answered, a time-out, a launch
    // failure), or none when the command ran: what it said came through the handlers.
    static void runShellCommandWithAdminPrivilegesAsync(const QString &command,
                                                        TextHandler outputHandler,
                                                        TextHandler errorHandler,
                                                        CompletionHandler completionHandler);

    Q_DECLARE_TR_FUNCTIONS(AppleScriptHelper)
};
