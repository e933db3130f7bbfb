// env as the program's privileged commands use it: `env [-i] [NAME=VALUE]... [PROGRAM [ARG]...]`
// runs PROGRAM, found along the PATH it will run with, with the variables given (and with the
// inherited ones unless -i). Without a program it prints the environment it would give.
//
// A stand-in keeps in TESSALINE_* variables what a Mac keeps outside the environment (which
// world this is, and the administrator's rights sudo granted), so -i leaves those.
#include "tools/Exec.h"
#include "tools/Tools.h"

#include <QProcessEnvironment>

#include <cerrno>
#include <cstdio>

int runEnv(const World &, const QStringList &args)
{
    bool ignoreInherited = false;
    qsizetype next = 0;
    for (; next < args.size(); ++next) {
        const QString &arg = args.at(next);
        if (arg == QLatin1String("-i") || arg == QLatin1String("-"))
            ignoreInherited = true;
        else if (arg == QLatin1String("--"))
            continue;
        else
            break;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (ignoreInherited) {
        const QProcessEnvironment inherited = environment;
        environment.clear();
        for (const QString &name : inherited.keys())
            if (name.startsWith(QLatin1String("TESSALINE_")))
                environment.insert(name, inherited.value(name));
    }
    for (; next < args.size() && args.at(next).indexOf(u'=') > 0; ++next) {
        const QString &assignment = args.at(next);
        const qsizetype equals = assignment.indexOf(u'=');
        environment.insert(assignment.left(equals), assignment.mid(equals + 1));
    }
    const QStringList variables = environment.toStringList();
    if (next == args.size()) {
        for (const QString &variable : variables)
            std::printf("%s\n", variable.toLocal8Bit().constData());
        return 0;
    }
    const QStringList command = args.mid(next);
    // A path is run as it is, so that exec itself says what is wrong with it.
    const QString program =
        command.first().contains(u'/')
            ? command.first()
            : Exec::resolve(command.first(), environment.value(QStringLiteral("PATH")));
    if (program.isEmpty()) {
        std::fprintf(stderr, "env: %s: No such file or directory\n",
                     command.first().toLocal8Bit().constData());
        return 127;
    }
    // As BSD env: 127 when there is no such program, 126 when it could not be run.
    return Exec::replaceWith("env:", program, command, &variables) == ENOENT ? 127 : 126;
}
