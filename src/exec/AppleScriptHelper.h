#pragma once

#include "exec/ScriptEngine.h"

#include <QCoreApplication>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

// Runs AppleScripts and shell commands, with or without administrator rights. Administrator
// rights are always asked for the same way: the command becomes an AppleScript "do shell script"
// request "with administrator privileges", and the system asks the user for a password.
//
// The synchronous operations block the calling thread (call them off the main thread); the
// asynchronous one returns at once and reports on the main thread.
class AppleScriptHelper {
public:
    // Status 0 with the result text, or another status with an error text.
    struct Result {
        int status;
        QString output;
        friend bool operator==(const Result &, const Result &) = default;
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

    // The AppleScript that runs `command` with administrator rights, in a clean environment (see
    // Host::cleanCommandPrefix()). `command` is one tool, by absolute path, with its arguments,
    // each quoted by shellQuoted() or shellCommand().
    static QString adminScript(const QString &command);
    // Whether a script's error text says the user refused or cancelled the administrator prompt.
    static bool namesDenial(const QString &errorText);

    Q_DECLARE_TR_FUNCTIONS(AppleScriptHelper)
};
