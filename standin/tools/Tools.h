#pragma once

#include <QString>
#include <QStringList>

class World;

// A stand-in for one macOS command-line tool. Gets the arguments after the tool's name and returns
// the exit status the real tool would.
using Tool = int (*)(const World &world, const QStringList &args);

namespace Tools {

// The tool answering to `name` ("diskutil"), or nullptr.
Tool find(const QString &name);
QStringList names();

// What a tool says until it has been written.
int notAvailable(const QString &name);

} // namespace Tools

int runDiskutil(const World &world, const QStringList &args);
int runHdiutil(const World &world, const QStringList &args);
int runCsrutil(const World &world, const QStringList &args);
int runCreateInstallMedia(const World &world, const QStringList &args);
int runOsascript(const World &world, const QStringList &args);
int runInstaller(const World &world, const QStringList &args);
int runOpen(const World &world, const QStringList &args);
int runSudo(const World &world, const QStringList &args);
int runCodesign(const World &world, const QStringList &args);
int runEnv(const World &world, const QStringList &args);
int runCaffeinate(const World &world, const QStringList &args);
int runSoftwareupdate(const World &world, const QStringList &args);
