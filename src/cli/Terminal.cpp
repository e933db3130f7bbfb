#include "cli/Terminal.h"

#include <termios.h>
#include <unistd.h>

namespace {

// One line from `descriptor`, byte by byte; false at the end of the input with nothing read.
bool readLine(int descriptor, QByteArray &line)
{
    char byte = 0;
    bool any = false;
    while (::read(descriptor, &byte, 1) == 1) {
        any = true;
        if (byte == '\n')
            return true;
        line.append(byte);
    }
    return any;
}

} // namespace

void Terminal::print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

bool Terminal::isInteractive(std::FILE *stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

std::optional<QString> Terminal::ask(const QString &question)
{
    Terminal::print(stderr, question);
    QByteArray line;
    if (!readLine(STDIN_FILENO, line))
        return std::nullopt;
    return QString::fromUtf8(line);
}

std::optional<Secret> Terminal::readSecretLine(std::FILE *stream, const QString &prompt)
{
    const int descriptor = ::fileno(stream);
    termios saved = {};
    const bool quiet = ::isatty(descriptor) == 1 && ::tcgetattr(descriptor, &saved) == 0;
    // Asked for, what was typed before the question is dropped, as getpass does; given on the
    // input (--password-stdin), it may well be there already and is kept.
    const int when = prompt.isEmpty() ? TCSANOW : TCSAFLUSH;
    if (quiet) {
        Terminal::print(stderr, prompt);
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(descriptor, when, &silent);
    }
    QByteArray line;
    line.reserve(1024); // one buffer, not copies left behind as it grows
    const bool read = readLine(descriptor, line);
    if (quiet) {
        ::tcsetattr(descriptor, TCSANOW, &saved);
        Terminal::print(stderr, QStringLiteral("\n"));
    }
    if (line.endsWith('\r'))
        line.chop(1);
    QString text = QString::fromUtf8(line);
    wipeMemory(line.data(), line.size());
    if (!read)
        return std::nullopt;
    return Secret::takeText(text);
}
