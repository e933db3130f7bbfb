// installer: installs a stand-in package (see Package.h) with administrator rights.
//
// Every invocation appends its argv as one JSON array line to var/standin/installer.log:
//   ["installer", "-pkg", "/…/InstallAssistant.pkg", "-target", "/Applications"]
// The target is a folder, given as a Mac or a host path; "/" installs into its Applications.
#include "World.h"
#include "tools/Administrator.h"
#include "tools/Package.h"
#include "tools/PackageToolSupport.h"
#include "tools/Tools.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

using ToolSupport::writeErr;
using ToolSupport::writeOut;

int usage()
{
    writeErr("Usage: installer [-help] [-dominfo] [-volinfo] [-pkginfo] [-allowUntrusted] "
             "[-dumplog]\n"
             "                 [-verbose | -verboseR] [-vers] [-config] [-plist]\n"
             "                 -pkg <pathToPackage>\n"
             "                 -target <[DomainKey|MountPoint|DiskIdentifier|DeviceNode]>\n");
    return 1;
}

} // namespace

int runInstaller(const World &world, const QStringList &args)
{
    ToolSupport::logArguments(world, QStringLiteral("installer.log"),
                              QStringList{QStringLiteral("installer")} + args);

    QString package;
    QString target;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if ((arg == QLatin1String("-pkg") || arg == QLatin1String("-package")) &&
            i + 1 < args.size())
            package = args.at(++i);
        else if (arg == QLatin1String("-target") && i + 1 < args.size())
            target = args.at(++i);
        else if (arg != QLatin1String("-verbose") && arg != QLatin1String("-verboseR") &&
                 arg != QLatin1String("-allowUntrusted") && arg != QLatin1String("-dumplog"))
            return usage();
    }
    if (package.isEmpty() || target.isEmpty())
        return usage();

    const std::optional<Package::Manifest> manifest =
        Package::read(ToolSupport::hostPath(world, package));
    if (!manifest) {
        writeErr(QStringLiteral("installer: Error - the package path specified was invalid: "
                                "'%1'.\n")
                     .arg(package)
                     .toUtf8());
        return 1;
    }
    if (!Administrator::isActing(world)) {
        writeErr("installer: Must be run as root to install this package.\n");
        return 1;
    }
    const QString targetFolder = ToolSupport::hostPath(world, target);
    if (!QFileInfo(targetFolder).isDir()) {
        writeErr(QStringLiteral("installer: Error - the target path specified was invalid: "
                                "'%1'.\n")
                     .arg(target)
                     .toUtf8());
        return 1;
    }
    const QString basePath = world.macPath(targetFolder);

    const QString folder = basePath == QLatin1String("/")
                               ? world.hostPath(QStringLiteral("/Applications"))
                               : targetFolder;
    // Over an installer that is there already, the run is an upgrade and says so.
    const bool upgrade = QFileInfo::exists(folder + u'/' + manifest->application);
    writeOut("installer: Package name is " + manifest->packageName.toUtf8() + '\n');
    ToolSupport::pause(300);
    writeOut(
        (upgrade ? "installer: Upgrading at base path " : "installer: Installing at base path ") +
        basePath.toUtf8() + '\n');
    ToolSupport::pause(700);

    QString error;
    if (!Package::install(world, *manifest, folder, QCoreApplication::applicationFilePath(),
                          &error)) {
        // The real tool's verdict, on standard output as it prints it.
        writeOut(QStringLiteral("installer: The install failed. (The Installer encountered an "
                                "error that caused the installation to fail. Contact the software "
                                "manufacturer for assistance. An error occurred while running "
                                "scripts from the package \"%1\".)\n")
                     .arg(QFileInfo(package).fileName())
                     .toUtf8());
        return 1;
    }
    ToolSupport::pause(500);
    writeOut(upgrade ? "installer: The upgrade was successful.\n"
                     : "installer: The install was successful.\n");
    return 0;
}
