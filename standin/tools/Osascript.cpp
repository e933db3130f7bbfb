// osascript as the application uses it: `do shell script`, with or without administrator
// privileges, and the Finder's volume icon. Errors read "START:END: KIND: MESSAGE (NUMBER)" on
// standard error with status 1; a result is printed on standard output.
#include "World.h"
#include "tools/Administrator.h"
#include "tools/AppleScriptText.h"
#include "tools/Tools.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <optional>

namespace {

const char usageText[] =
    "usage: osascript [-l language] [-e script] [-i] [-s {ehso}] [programfile] [argument ...]\n";

void write(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int usage(const QByteArray &complaint)
{
    write(stderr, "osascript: " + complaint + '\n' + usageText);
    return 1;
}

// AppleScript reports where in the script an error lies; the whole script is the range here.
int reportError(const QString &source, const char *kind, const QByteArray &message, int number)
{
    write(stderr, "0:" + QByteArray::number(source.size()) + ": " + kind + ": " + message + " (" +
                      QByteArray::number(number) + ")\n");
    return 1;
}

int executionError(const QString &source, const QString &message, int number)
{
    return reportError(source, "execution error", message.toUtf8(), number);
}

QByteArray readAll(FILE *stream)
{
    QFile file;
    if (!file.open(stream, QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The script from -e statements, a program file or standard input; nullopt after a complaint.
std::optional<QString> scriptFrom(const QStringList &args, int *status)
{
    QStringList statements;
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (!rest.isEmpty() || !arg.startsWith(u'-') || arg == QLatin1String("-")) {
            rest << arg;
            continue;
        }
        if (arg == QLatin1String("-e") || arg == QLatin1String("-l") ||
            arg == QLatin1String("-s")) {
            if (i + 1 == args.size()) {
                *status = usage("option requires an argument -- " + arg.mid(1).toUtf8());
                return std::nullopt;
            }
            if (arg == QLatin1String("-e"))
                statements << args.at(i + 1);
            ++i;
        } else if (arg != QLatin1String("-i")) {
            *status = usage("illegal option -- " + arg.mid(1, 1).toUtf8());
            return std::nullopt;
        }
    }
    // Real osascript runs each -e as one line of the script.
    if (!statements.isEmpty())
        return statements.join(u'\n');
    if (rest.isEmpty() || rest.first() == QLatin1String("-"))
        return QString::fromUtf8(readAll(stdin));
    QFile file(rest.first());
    if (!file.open(QIODevice::ReadOnly)) {
        write(stderr, "osascript: " + rest.first().toUtf8() + ": No such file or directory\n");
        *status = 1;
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

// What `do shell script` makes of a command's output: one final line break dropped, the rest
// turned into carriage returns, as classic Mac text has them.
QByteArray asScriptText(QByteArray output)
{
    if (output.endsWith('\n'))
        output.chop(1);
    return output.replace('\n', '\r');
}

int runShellScript(const World &world, const QString &source,
                   const AppleScriptText::ShellScript &script)
{
    if (script.withAdministratorPrivileges) {
        switch (world.adminPrompt()) {
        case World::AdminPrompt::Grant:
            break;
        case World::AdminPrompt::Cancel:
            return executionError(source, QStringLiteral("User canceled."), -128);
        case World::AdminPrompt::Deny:
            return executionError(source, QStringLiteral("authorization denied"), -60005);
        }
    }

    QProcess shell;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A stand-in tool found along PATH learns its world from here, not from its bare name.
    if (environment.value(QStringLiteral("TESSALINE_HOST_ROOT")).isEmpty())
        environment.insert(QStringLiteral("TESSALINE_HOST_ROOT"), world.root());
    if (script.withAdministratorPrivileges)
        environment.insert(QLatin1String(Administrator::variable),
                           QString::fromUtf8(Administrator::mark(world)));
    shell.setProcessEnvironment(environment);
    shell.setInputChannelMode(QProcess::ForwardedInputChannel);
    // Both pipes are drained while waiting, so a command that says a lot cannot stall on a full
    // pipe; nothing is passed on before the end, as real osascript passes on nothing either.
    shell.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), script.command});
    if (!shell.waitForFinished(-1) && shell.error() == QProcess::FailedToStart)
        return executionError(source, QStringLiteral("sh: /bin/bash: ") + shell.errorString(), 127);

    const QByteArray output = shell.readAllStandardOutput();
    const int status = shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : 1;
    if (status == 0) {
        write(stdout, asScriptText(output) + '\n');
        return 0;
    }
    // The complaint is the command's error output, or failing that what it printed.
    QByteArray message = asScriptText(shell.readAllStandardError());
    if (message.isEmpty())
        message = asScriptText(output);
    if (message.isEmpty())
        message = "The command exited with a non-zero status.";
    return reportError(source, "execution error", message, status);
}

int setVolumeIcon(const World &world, const QString &source,
                  const AppleScriptText::VolumeIcon &script)
{
    const QString &name = script.volumeName;
    const QString volume = world.hostPath(QStringLiteral("/Volumes/") + name);
    if (name.isEmpty() || name.contains(u'/') || name == QLatin1String(".") ||
        name == QLatin1String("..") || !QFileInfo(volume).isDir())
        return executionError(
            source, QStringLiteral("Finder got an error: Can’t get disk \"%1\".").arg(name), -1728);
    if (!QFileInfo(script.iconPath).isFile())
        return executionError(source, QStringLiteral("File %1 wasn’t found.").arg(script.iconPath),
                              -43);

    const QString target = volume + QStringLiteral("/.VolumeIcon.icns");
    if (QFileInfo::exists(target))
        QFile::remove(target);
    if (!QFile::copy(script.iconPath, target))
        return executionError(source,
                              QStringLiteral("Finder got an error: Can’t set icon of disk \"%1\" "
                                             "to POSIX file \"%2\".")
                                  .arg(name, script.iconPath),
                              -10006);
    return 0;
}

} // namespace

int runOsascript(const World &world, const QStringList &args)
{
    int status = 0;
    const std::optional<QString> source = scriptFrom(args, &status);
    if (!source)
        return status;

    const AppleScriptText::Script script = AppleScriptText::parse(*source);
    if (const auto *shellScript = std::get_if<AppleScriptText::ShellScript>(&script))
        return runShellScript(world, *source, *shellScript);
    if (const auto *volumeIcon = std::get_if<AppleScriptText::VolumeIcon>(&script))
        return setVolumeIcon(world, *source, *volumeIcon);
    const auto &syntaxError = std::get<AppleScriptText::SyntaxError>(script);
    return reportError(*source, "syntax error", syntaxError.message.toUtf8(),
                       AppleScriptText::syntaxErrorNumber);
}
