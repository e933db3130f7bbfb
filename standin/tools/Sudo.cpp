// sudo as a script without a terminal uses it: the password comes from standard input (-S or not,
// since there is no terminal to ask on) and is checked against the world's administrator
// password; then the command replaces sudo, so it keeps sudo's standard streams and whatever of
// standard input the password line left.
//
// Every invocation leaves one line in var/standin/sudo.log for tests to look at:
//   {"argv": ["/usr/bin/id", "-u"], "password": "matched", "attempts": 1}
// "password" is "matched", "wrong" (attempts ran out or input ended after wrong ones), "none"
// (input ended before any) or "not asked" (already the administrator, or no command). The
// password itself is never written anywhere.
#include "World.h"
#include "tools/Administrator.h"
#include "tools/Exec.h"
#include "tools/PackageToolSupport.h"
#include "tools/Tools.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

const char usageText[] =
    "usage: sudo -h | -K | -k | -V\n"
    "usage: sudo -v [-ABkNnS] [-g group] [-h host] [-p prompt] [-u user]\n"
    "usage: sudo -l [-ABkNnS] [-g group] [-h host] [-p prompt] [-U user] [-u user] [command "
    "[arg ...]]\n"
    "usage: sudo [-ABbEHkNnPS] [-C num] [-D directory] [-g group] [-h host] [-p prompt] [-R "
    "directory] [-T timeout] [-u user] [VAR=value] [-i | -s] [command [arg ...]]\n"
    "usage: sudo -e [-ABkNnS] [-C num] [-D directory] [-g group] [-h host] [-p prompt] [-R "
    "directory] [-T timeout] [-u user] file ...\n";

constexpr int allowedAttempts = 3;

void write(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

// One line of standard input without its line break, read a byte at a time so that the command
// still finds everything after it. nullopt when input has ended before anything was read.
std::optional<QByteArray> readLine()
{
    QByteArray line;
    char c = 0;
    while (true) {
        const ssize_t count = ::read(STDIN_FILENO, &c, 1);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return line.isEmpty() ? std::nullopt : std::optional<QByteArray>(line);
        if (c == '\n')
            return line;
        line += c;
    }
}

enum class Check { Matched, Wrong, None, NotAsked };

QString checkName(Check check)
{
    switch (check) {
    case Check::Matched:
        return QStringLiteral("matched");
    case Check::Wrong:
        return QStringLiteral("wrong");
    case Check::None:
        return QStringLiteral("none");
    case Check::NotAsked:
        return QStringLiteral("not asked");
    }
    return {};
}

// Asks on standard error and answers like sudo; returns how it went and counts the passwords read.
Check askPassword(const QByteArray &prompt, const QByteArray &password, int *attempts)
{
    int wrong = 0;
    while (true) {
        write(prompt);
        const std::optional<QByteArray> given = readLine();
        if (!given) {
            // The prompt line is still open.
            write("\nsudo: no password was provided\n");
            break;
        }
        ++*attempts;
        if (*given == password)
            return Check::Matched;
        if (++wrong == allowedAttempts)
            break;
        write("Sorry, try again.\n");
    }
    if (wrong > 0)
        write("sudo: " + QByteArray::number(wrong) + " incorrect password attempt" +
              (wrong > 1 ? "s" : "") + '\n');
    return wrong > 0 ? Check::Wrong : Check::None;
}

void record(const World &world, const QStringList &command, Check check, int attempts)
{
    ToolSupport::logEntry(world, QStringLiteral("sudo.log"),
                          {{QStringLiteral("argv"), QJsonArray::fromStringList(command)},
                           {QStringLiteral("password"), checkName(check)},
                           {QStringLiteral("attempts"), attempts}});
}

// What real sudo tells the command about who ran it, plus the world's administrator mark.
void prepareEnvironment(const World &world, const QStringList &command)
{
    // A stand-in tool found along PATH learns its world from here, not from its bare name.
    if (qEnvironmentVariableIsEmpty("TESSALINE_HOST_ROOT"))
        qputenv("TESSALINE_HOST_ROOT", world.root().toUtf8());
    QByteArray user = qgetenv("USER");
    if (user.isEmpty())
        user = qgetenv("LOGNAME");
    qputenv("SUDO_USER", user);
    qputenv("SUDO_UID", QByteArray::number(static_cast<qulonglong>(getuid())));
    qputenv("SUDO_GID", QByteArray::number(static_cast<qulonglong>(getgid())));
    qputenv("SUDO_COMMAND", command.join(u' ').toUtf8());
    qputenv(Administrator::variable, Administrator::mark(world));
}

} // namespace

int runSudo(const World &world, const QStringList &args)
{
    QByteArray prompt = "Password:";
    qsizetype first = 0;
    for (; first < args.size(); ++first) {
        const QString &arg = args.at(first);
        if (arg == QLatin1String("--")) {
            ++first;
            break;
        }
        if (!arg.startsWith(u'-'))
            break;
        // The prompt as given, "-p PROMPT" or "-pPROMPT" (no % escapes: the program uses none).
        if (arg.startsWith(QLatin1String("-p"))) {
            if (arg.size() > 2)
                prompt = arg.mid(2).toUtf8();
            else if (++first < args.size())
                prompt = args.at(first).toUtf8();
            continue;
        }
        // Without a terminal, -S changes nothing: the password is read from standard input anyway.
        if (arg != QLatin1String("-S")) {
            record(world, {}, Check::NotAsked, 0);
            write("sudo: illegal option -- " + arg.mid(1, 1).toUtf8() + '\n' + usageText);
            return 1;
        }
    }
    const QStringList command = args.mid(first);
    if (command.isEmpty()) {
        record(world, {}, Check::NotAsked, 0);
        write(usageText);
        return 1;
    }

    // The administrator running sudo again is not asked, as root is not.
    int attempts = 0;
    const Check check = Administrator::isActing(world)
                            ? Check::NotAsked
                            : askPassword(prompt, world.adminPassword().toUtf8(), &attempts);
    record(world, command, check, attempts);
    if (check != Check::Matched && check != Check::NotAsked)
        return 1;

    const QString program = Exec::resolve(command.first(), qEnvironmentVariable("PATH"));
    if (program.isEmpty()) {
        write("sudo: " + command.first().toLocal8Bit() + ": command not found\n");
        return 1;
    }
    prepareEnvironment(world, command);
    Exec::replaceWith("sudo: unable to execute", program, command);
    return 1;
}
