// open: a package goes to the stand-in installer, as Installer.app would install it once the user
// has typed their password - so the install runs with administrator rights, in the background,
// and open returns at once (with -W, once it has finished). Other files are taken as opened.
//
// Every invocation appends its argv as one JSON array line to var/standin/open.log; what the
// background installer prints is appended to var/standin/open-install.out.
#include "World.h"
#include "tools/Administrator.h"
#include "tools/ChildTool.h"
#include "tools/PackageToolSupport.h"
#include "tools/Tools.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

using ToolSupport::writeErr;

int usage()
{
    writeErr("Usage: open [-e] [-t] [-f] [-W] [-R] [-n] [-g] [-h] [-s <partial SDK name>]"
             "[-b <bundle identifier>] [-a <application>] [-u URL] [filenames] "
             "[--args arguments]\n"
             "Help: Open opens files from a shell.\n");
    return 1;
}

bool isPackage(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("pkg"), Qt::CaseInsensitive) == 0 ||
           QFileInfo(path).suffix().compare(QLatin1String("mpkg"), Qt::CaseInsensitive) == 0;
}

// Starts the world's installer on `package`, and waits for it with `wait`. Like open, says only
// whether it could be started.
int install(const World &world, const QString &package, bool wait)
{
    const QString link = world.hostPath(QStringLiteral("/usr/sbin/installer"));
    QStringList arguments{QStringLiteral("-pkg"), package, QStringLiteral("-target"),
                          QStringLiteral("/Applications")};
    QString program = link;
    if (!QFileInfo(link).isExecutable()) {
        program = QCoreApplication::applicationFilePath();
        arguments.prepend(QStringLiteral("installer"));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TESSALINE_HOST_ROOT"), world.root());
    environment.insert(QLatin1String(Administrator::variable),
                       QString::fromUtf8(Administrator::mark(world)));
    ChildTool::Launch installer{program, arguments, environment};
    installer.outputFile = world.stateFolder() + QStringLiteral("/open-install.out");
    installer.workingFolder = world.root();

    if (!wait)
        return ChildTool::startDetached(installer) ? 0 : 1;
    return ChildTool::run(installer, nullptr) ? 0 : 1;
}

} // namespace

int runOpen(const World &world, const QStringList &args)
{
    ToolSupport::logArguments(world, QStringLiteral("open.log"),
                              QStringList{QStringLiteral("open")} + args);

    bool wait = false;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--args"))
            break;
        if (arg == QLatin1String("-W"))
            wait = true;
        else if (arg == QLatin1String("-a") || arg == QLatin1String("-b")) {
            if (++i >= args.size())
                return usage();
        } else if (arg == QLatin1String("-g") || arg == QLatin1String("-n") ||
                   arg == QLatin1String("-F") || arg == QLatin1String("-j") ||
                   arg == QLatin1String("-R"))
            continue;
        else if (arg.startsWith(u'-'))
            return usage();
        else
            files << arg;
    }
    if (files.isEmpty())
        return usage();

    QStringList hostPaths;
    for (const QString &file : std::as_const(files)) {
        const QString path = ToolSupport::hostPath(world, file);
        if (!QFileInfo::exists(path)) {
            writeErr(QStringLiteral("The file %1 does not exist.\n")
                         .arg(ToolSupport::echoedPath(file))
                         .toUtf8());
            return 1;
        }
        hostPaths << path;
    }
    int status = 0;
    for (const QString &path : std::as_const(hostPaths)) {
        if (isPackage(path) && install(world, path, wait) != 0)
            status = 1;
    }
    return status;
}
