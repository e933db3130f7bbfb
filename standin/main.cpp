// The stand-in Mac's tools in one program. Linked under a tool's name (diskutil, sudo, …) it acts
// as that tool in the world the link lies in; under its own name it takes a subcommand.
#include "World.h"
#include "WorldMaker.h"
#include "tools/Tools.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

const char *const programName = "tessaline-standin";

int usage()
{
    QTextStream(stderr) << "usage: " << programName
                        << " make-world [--unsigned-installer] [--payload-size BYTES] DIR\n"
                        << "       " << programName << " TOOL [ARGS...]\n"
                        << "tools: " << Tools::names().join(QStringLiteral(", ")) << '\n';
    return 2;
}

int runTool(const QString &name, Tool tool, const QString &invokedAs, const QStringList &args)
{
    QString error;
    const std::optional<World> world =
        World::locate(invokedAs, qEnvironmentVariable("TESSALINE_HOST_ROOT"), &error);
    if (!world) {
        QTextStream(stderr) << name << ": " << error << '\n';
        return 2;
    }
    return tool(*world, args);
}

} // namespace

int main(int argc, char *argv[])
{
    // Taken before Qt sees them: tools must get their arguments exactly as given.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString invokedAs = arguments.value(0);

    QCoreApplication app(argc, argv);

    const QString calledAs = QFileInfo(invokedAs).fileName();
    if (Tool tool = Tools::find(calledAs))
        return runTool(calledAs, tool, invokedAs, arguments.mid(1));

    const QString command = arguments.value(1);
    if (command == QLatin1String("make-world")) {
        WorldOptions options;
        QStringList rest = arguments.mid(2);
        options.unsignedInstaller = rest.removeAll(QStringLiteral("--unsigned-installer")) > 0;
        const qsizetype payloadAt = rest.indexOf(QStringLiteral("--payload-size"));
        if (payloadAt >= 0) {
            bool isNumber = false;
            options.payloadSize = rest.value(payloadAt + 1).toLongLong(&isNumber);
            if (!isNumber || *options.payloadSize < 0)
                return usage();
            rest.remove(payloadAt, 2);
        }
        // Any other option is a mistake, not a folder to make.
        if (rest.size() != 1 || rest.first().startsWith(u'-'))
            return usage();
        const QString folder = rest.first();
        const QString error = makeWorld(folder, QCoreApplication::applicationFilePath(), options);
        if (!error.isEmpty()) {
            QTextStream(stderr) << programName << ": make-world: " << error << '\n';
            return 1;
        }
        QTextStream(stdout) << "Made a stand-in Mac at " << folder << '\n';
        return 0;
    }
    if (Tool tool = Tools::find(command))
        return runTool(command, tool, invokedAs, arguments.mid(2));
    return usage();
}
