#include "tools/Exec.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

// Pointers into `storage`, ended by a null one, as exec wants them.
std::vector<char *> pointers(std::vector<QByteArray> &storage)
{
    std::vector<char *> result;
    for (QByteArray &item : storage)
        result.push_back(item.data());
    result.push_back(nullptr);
    return result;
}

std::vector<QByteArray> bytesOf(const QStringList &texts)
{
    std::vector<QByteArray> result;
    for (const QString &text : texts)
        result.push_back(text.toLocal8Bit());
    return result;
}

} // namespace

namespace Exec {

QString resolve(const QString &command, const QString &searchPath)
{
    if (command.contains(u'/'))
        return isExecutableFile(command) ? command : QString();
    for (const QString &folder : searchPath.split(u':')) {
        const QString candidate =
            (folder.isEmpty() ? QStringLiteral(".") : folder) + u'/' + command;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return {};
}

int replaceWith(const char *prefix, const QString &program, const QStringList &command,
                const QStringList *environment)
{
    std::vector<QByteArray> arguments = bytesOf(command);
    std::vector<QByteArray> variables =
        environment ? bytesOf(*environment) : std::vector<QByteArray>();
    std::vector<char *> argv = pointers(arguments);
    std::vector<char *> envp = pointers(variables);
    std::fflush(stdout);
    std::fflush(stderr);
    const QByteArray path = program.toLocal8Bit();
    if (environment)
        ::execve(path.constData(), argv.data(), envp.data());
    else
        ::execv(path.constData(), argv.data());
    const int error = errno;
    std::fprintf(stderr, "%s %s: %s\n", prefix, path.constData(), std::strerror(error));
    return error;
}

} // namespace Exec
