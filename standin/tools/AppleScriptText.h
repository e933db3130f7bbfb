#pragma once

#include <QString>

#include <variant>

// The few AppleScript statements the stand-in's osascript understands: those the application
// writes. Anything else reads as a syntax error, as it would to a Mac that lacked the terms.
namespace AppleScriptText {

// do shell script "COMMAND" [with administrator privileges]
struct ShellScript {
    QString command;
    bool withAdministratorPrivileges = false;
};

// tell application "Finder" / set icon of disk "NAME" to POSIX file "PATH" / end tell
struct VolumeIcon {
    QString volumeName;
    QString iconPath;
};

// display notification "TEXT" with title "TITLE"
struct Notification {
    QString text;
    QString title;
};

struct SyntaxError {
    // Without the "syntax error: " in front or the number behind.
    QString message;
};

using Script = std::variant<ShellScript, VolumeIcon, Notification, SyntaxError>;

Script parse(const QString &source);

// AppleScript's own error number for every syntax error.
constexpr int syntaxErrorNumber = -2741;

} // namespace AppleScriptText
