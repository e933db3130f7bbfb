#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// How this program gets administrator rights, in one of two ways, and nowhere else:
//  - the system's prompt: an AppleScript "do shell script" request "with administrator
//    privileges", for which macOS itself asks the user for a password (AppleScriptHelper runs it,
//    waiting for its end or streaming its output);
//  - sudo, fed the password the user typed into the program's terminal through a pipe (the terminal
//    path of USBCreator runs it).
// Both run the tool alike: by its absolute path, in a clean environment (env -i and the clean
// variables of Host::cleanCommandPrefix()), so nothing of the session - BASH_ENV, DYLD_*, the
// user's PATH - reaches a tool running as root.
namespace AdministratorRights {

// The AppleScript that runs `command` through the system's prompt. `command` is one tool, by
// absolute path, with its arguments, each quoted by shellQuoted() or shellCommand().
QString promptScript(const QString &command);
// Whether a script's error text says the user refused or cancelled the system's prompt.
bool promptRefused(const QString &errorText);

// How sudo is started to run `command` (the tool by absolute path, then its arguments): it reads
// one line of standard input as the password, and asks for it with sudoPrompt.
struct SudoCall {
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
};
SudoCall sudoCall(const QStringList &command);

} // namespace AdministratorRights
