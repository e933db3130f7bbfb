// osascript as the application uses it: `do shell script`, with or without administrator
// privileges, the Finder's volume icon and notifications. Errors read "START:END: KIND: MESSAGE
// (NUMBER)" on standard error with status 1; a result is printed on standard output. A
// notification is shown to nobody: it becomes one line of var/standin/notifications.log,
// {"text": "…", "title": "…"}, and osascript prints nothing, as for a real one.
#include "World.h"
#include "tools/Administrator.h"
#include "tools/AppleScriptText.h"
#include "tools/ChildTool.h"
#include "tools/PackageToolSupport.h"
#include "tools/Tools.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <QDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

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

// AppleScript reports where in the script an error lies, as "START:END:"; the whole script is the
// range here.
// osascript gives the range of what went wrong, as character offsets into the script.
int reportError(qsizetype start, qsizetype end, const char *kind, const QByteArray &message,
                int number)
{
    write(stderr, QByteArray::number(start) + ':' + QByteArray::number(end) + ": " + kind + ": " +
                      message + " (" + QByteArray::number(number) + ")\n");
    return 1;
}

// A failed statement's range is the whole script, its end exclusive, as osascript prints it.
int executionError(const QString &source, const QByteArray &message, int number)
{
    return reportError(0, source.size(), "execution error", message, number);
}

int executionError(const QString &source, const QString &message, int number)
{
    return executionError(source, message.toUtf8(), number);
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

// An unnamed file that collects one of the command's streams: the command writes straight into
// it, with no pipe to drain in small pieces while it runs, and nothing is left behind on disk
// whatever ends this process.
class CapturedStream {
public:
    CapturedStream()
    {
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/osascript-XXXXXX";
        m_fd = ::mkstemp(pattern.data());
        if (m_fd >= 0) {
            ::unlink(pattern.constData());
            ::fcntl(m_fd, F_SETFD, FD_CLOEXEC);
        }
    }
    ~CapturedStream()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CapturedStream(const CapturedStream &) = delete;
    CapturedStream &operator=(const CapturedStream &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // In the child: makes the file the stream `target`.
    void attachTo(int target) const { ::dup2(m_fd, target); }

    QByteArray readAll() const
    {
        const off_t size = ::lseek(m_fd, 0, SEEK_END);
        QByteArray bytes(qsizetype(std::max<off_t>(size, 0)), Qt::Uninitialized);
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got =
                ::pread(m_fd, bytes.data() + done, size_t(bytes.size() - done), off_t(done));
            if (got <= 0)
                break;
            done += got;
        }
        bytes.truncate(done);
        return bytes;
    }

    // Writes the captured output to `stream` as script text followed by a line break, in blocks,
    // so that a large result needs no copy of its own and the reader can start on it early.
    void writeAsScriptText(FILE *stream) const
    {
        off_t size = std::max<off_t>(::lseek(m_fd, 0, SEEK_END), 0);
        char last = 0;
        if (size > 0 && ::pread(m_fd, &last, 1, size - 1) == 1 && last == '\n')
            --size;
        constexpr off_t blockSize = 1024 * 1024;
        QByteArray block(qsizetype(std::min(size, blockSize)), Qt::Uninitialized);
        for (off_t offset = 0; offset < size;) {
            const ssize_t got =
                ::pread(m_fd, block.data(), size_t(std::min(size - offset, blockSize)), offset);
            if (got <= 0)
                break;
            offset += got;
            std::replace(block.data(), block.data() + got, '\n', '\r');
            std::fwrite(block.constData(), 1, size_t(got), stream);
        }
        std::fputc('\n', stream);
        std::fflush(stream);
    }

private:
    int m_fd = -1;
};

int runShellScript(const World &world, const QString &source,
                   const AppleScriptText::ShellScript &script)
{
    if (script.withAdministratorPrivileges) {
        if (const double delay = world.adminPromptDelay(); delay > 0)
            QThread::msleep(static_cast<unsigned long>(delay * 1000));
        switch (world.adminPrompt()) {
        case World::AdminPrompt::Grant:
            break;
        case World::AdminPrompt::Cancel:
            return executionError(source, QStringLiteral("User canceled."), -128);
        case World::AdminPrompt::Deny:
            return executionError(source, QStringLiteral("authorization denied"), -60005);
        }
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A stand-in tool found along PATH learns its world from here, not from its bare name.
    if (environment.value(QStringLiteral("TESSALINE_HOST_ROOT")).isEmpty())
        environment.insert(QStringLiteral("TESSALINE_HOST_ROOT"), world.root());
    // do shell script searches /usr/bin, /bin, /usr/sbin and /sbin, whatever the caller's PATH
    // says; the world's come first here, the host's after them for what a world does not hold.
    QStringList searched;
    for (const char *folder : {"/usr/bin", "/bin", "/usr/sbin", "/sbin"})
        searched << world.hostPath(QLatin1String(folder));
    searched << environment.value(QStringLiteral("PATH"));
    environment.insert(QStringLiteral("PATH"), searched.join(u':'));
    if (script.withAdministratorPrivileges)
        environment.insert(QLatin1String(Administrator::variable),
                           QString::fromUtf8(Administrator::mark(world)));
    // Nothing is passed on before the end, as real osascript passes on nothing either; the
    // command writes into files, so however much it says it never waits on a full pipe.
    const CapturedStream output;
    const CapturedStream error;
    if (!output.isOpen() || !error.isOpen())
        return executionError(source, QStringLiteral("sh: cannot capture the output"), 127);
    ChildTool::Launch shell{
        QStringLiteral("/bin/bash"), {QStringLiteral("-c"), script.command}, environment};
    shell.forwardInput = true;
    shell.inChild = [&output, &error] {
        output.attachTo(STDOUT_FILENO);
        error.attachTo(STDERR_FILENO);
    };
    QString why;
    const std::optional<int> finished = ChildTool::run(shell, &why);
    if (!finished)
        return executionError(source, QStringLiteral("sh: /bin/bash: ") + why, 127);

    const int status = *finished;
    if (status == 0) {
        output.writeAsScriptText(stdout);
        return 0;
    }
    // The complaint is the command's error output, or failing that what it printed.
    QByteArray message = asScriptText(error.readAll());
    if (message.isEmpty())
        message = asScriptText(output.readAll());
    if (message.isEmpty())
        message = "The command exited with a non-zero status.";
    return executionError(source, message, status);
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
    if (const auto *notification = std::get_if<AppleScriptText::Notification>(&script)) {
        ToolSupport::logEntry(world, QStringLiteral("notifications.log"),
                              {{QStringLiteral("text"), notification->text},
                               {QStringLiteral("title"), notification->title}});
        return 0;
    }
    // A script that stops short is wrong where it ends; other faults are placed at its start, since
    // this reader keeps no positions.
    const auto &syntaxError = std::get<AppleScriptText::SyntaxError>(script);
    const bool cutShort = syntaxError.message.endsWith(u"found end of script.");
    return reportError(cutShort ? source->size() : 0, source->size(), "syntax error",
                       syntaxError.message.toUtf8(), AppleScriptText::syntaxErrorNumber);
}
