#include "tools/Tools.h"

#include <QTextStream>

#include <array>
#include <utility>

namespace {

const std::array<std::pair<const char *, Tool>, 12> registry{{
    {"diskutil", &runDiskutil},
    {"hdiutil", &runHdiutil},
    {"csrutil", &runCsrutil},
    {"createinstallmedia", &runCreateInstallMedia},
    {"osascript", &runOsascript},
    {"installer", &runInstaller},
    {"open", &runOpen},
    {"sudo", &runSudo},
    {"codesign", &runCodesign},
    {"env", &runEnv},
    {"caffeinate", &runCaffeinate},
    {"softwareupdate", &runSoftwareupdate},
}};

} // namespace

namespace Tools {

Tool find(const QString &name)
{
    for (const auto &[toolName, tool] : registry) {
        if (name == QLatin1String(toolName))
            return tool;
    }
    return nullptr;
}

QStringList names()
{
    QStringList result;
    for (const auto &entry : registry)
        result << QLatin1String(entry.first);
    return result;
}

int notAvailable(const QString &name)
{
    QTextStream(stderr) << name << ": not available on this stand-in yet\n";
    // What a shell answers for a command it cannot find.
    return 127;
}

} // namespace Tools
