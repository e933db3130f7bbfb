#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// How a stand-in tool runs another program in a child process, as do shell script and open do;
// the stand-in's one way to start a child (sudo and env replace themselves instead, see Exec).
namespace ChildTool {

struct Launch {
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
    // Where the child's standard output and error go: appended to this file, else nowhere.
    QString outputFile = {};
    // The child's working folder; this tool's own when empty.
    QString workingFolder = {};
    // The child reads this tool's standard input, else nothing.
    bool forwardInput = false;
    // Runs in the child just before the program starts, after its streams are set up.
    std::function<void()> inChild = {};
};

// Runs the program to its end: its exit status (1 when it was ended by a signal), or nothing when
// it could not be started, with `why` saying why.
std::optional<int> run(const Launch &launch, QString *why);
// Starts the program and leaves it running on its own; whether it could be started.
bool startDetached(const Launch &launch);

} // namespace ChildTool
