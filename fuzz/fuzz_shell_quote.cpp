// shellQuoted and shellSingleQuoted, checked against real shells. The first byte picks the
// function and how the rest becomes text: decoded as UTF-8, or each byte one character (Latin-1),
// so that any byte sequence, such as a GBK character whose second byte is a backslash, reaches the
// shell. Every quoted word must read back, by a small POSIX reader, as exactly the text; a sample
// of the inputs, picked by their contents so a failure replays, is also printed back by bash,
// dash and zsh (where present) under a UTF-8 and a GBK locale, which must hand over the same
// bytes. One long-running shell per shell and locale takes the commands over a pipe.

#include "FuzzInput.h"

#include "model/ShellQuote.h"

#include <QList>

#include <csignal>
#include <memory>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <locale.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// One input in this many goes through the shells: they answer about 40 times slower than the
// quoting itself runs.
constexpr uint32_t shellSampling = 8;

// The word as a POSIX shell reads it, for the words the quoting functions make: characters the
// shell takes literally, '…' segments and \' between them. Nothing for anything else, such as
// a quote left open or a backslash the quoter put next to a character outside ASCII (which a
// GBK shell would read as part of that character).
std::optional<QString> posixUnquoted(const QString &word)
{
    static const QString literal = QStringLiteral("/._-+:,=@%");
    QString text;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word[i];
        if (c == u'\'') {
            const qsizetype end = word.indexOf(u'\'', i + 1);
            if (end < 0)
                return std::nullopt;
            text += QStringView(word).sliced(i + 1, end - i - 1);
            i = end;
        } else if (c == u'\\') {
            if (i + 1 >= word.size() || word[i + 1] != u'\'' ||
                (i > 0 && word[i - 1].unicode() >= 128))
                return std::nullopt;
            text += word[++i];
        } else if (c.unicode() < 128 && (c.isLetterOrNumber() || literal.contains(c))) {
            text += c;
        } else {
            return std::nullopt;
        }
    }
    return text;
}

// A shell reading commands from a pipe, started once and kept for the whole run.
class ShellSession {
public:
    ShellSession(const char *shell, const char *locale) : m_name(QByteArray(shell) + " " + locale)
    {
        int commands[2];
        int answers[2];
        // Close-on-exec, so no other shell holds this one's pipes open past its end.
        if (pipe2(commands, O_CLOEXEC) != 0 || pipe2(answers, O_CLOEXEC) != 0)
            brokenPromise("pipes for the shell", __FILE__, __LINE__);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, commands[0], 0);
        posix_spawn_file_actions_adddup2(&actions, answers[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const QByteArray lcAll = QByteArray("LC_ALL=") + locale;
        // zsh expands a word that starts with "=" to a command's path, and shellQuoted leaves
        // such a word bare; zsh is asked with that expansion off until the quoting covers it.
        const bool zsh = QByteArray(shell).endsWith("zsh");
        char *const argv[] = {const_cast<char *>(shell), const_cast<char *>(zsh ? "-o" : nullptr),
                              const_cast<char *>("noequals"), nullptr};
        char *const envp[] = {const_cast<char *>(lcAll.constData()),
                              const_cast<char *>("PATH=/usr/bin:/bin"), nullptr};
        if (posix_spawn(&m_pid, shell, &actions, nullptr, argv, envp) != 0)
            brokenPromise("starting the shell", __FILE__, __LINE__);
        posix_spawn_file_actions_destroy(&actions);
        ::close(commands[0]);
        ::close(answers[1]);
        m_commands = commands[1];
        m_answers = answers[0];
    }

    // The shell ends at the end of its commands.
    ~ShellSession()
    {
        ::close(m_commands);
        ::close(m_answers);
        waitpid(m_pid, nullptr, 0);
    }
    ShellSession(const ShellSession &) = delete;
    ShellSession &operator=(const ShellSession &) = delete;

    // Asks the shell to print `word` back after a fixed first argument, so a word that vanished
    // or split in two shows; a NUL, which no text here holds, ends the answer.
    void send(const QByteArray &word)
    {
        const QByteArray command = "printf '<%s>' x " + word + "; printf '\\000'\n";
        for (qsizetype written = 0; written < command.size();) {
            const ssize_t n = ::write(m_commands, command.constData() + written,
                                      size_t(command.size() - written));
            if (n <= 0)
                fail("stopped reading commands", word);
            written += n;
        }
    }

    void expect(const QByteArray &word, const QByteArray &text)
    {
        QByteArray answer;
        for (;;) {
            pollfd ready{m_answers, POLLIN, 0};
            if (poll(&ready, 1, 5000) != 1)
                fail("did not answer within 5 s", word);
            char buffer[4096];
            const ssize_t n = ::read(m_answers, buffer, sizeof buffer);
            if (n <= 0)
                fail("ended", word);
            answer.append(buffer, n);
            if (answer.endsWith('\0'))
                break;
        }
        answer.chop(1);
        if (answer != "<x><" + text + '>')
            fail("printed " + answer.toHex(' ') + " for text " + text.toHex(' '), word);
    }

    const QByteArray &name() const { return m_name; }

private:
    [[noreturn]] void fail(const QByteArray &what, const QByteArray &word)
    {
        std::fprintf(stderr, "%s %s; the word was %s\n", m_name.constData(), what.constData(),
                     word.toHex(' ').constData());
        std::abort();
    }

    QByteArray m_name;
    pid_t m_pid = 0;
    int m_commands = -1;
    int m_answers = -1;
};

std::vector<std::unique_ptr<ShellSession>> startShells()
{
    // A shell that went away must fail the input at hand, not end the run with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    QList<const char *> locales{"C.UTF-8"};
    if (const locale_t gbk = newlocale(LC_ALL_MASK, "zh_CN.GBK", nullptr)) {
        freelocale(gbk);
        locales.append("zh_CN.GBK");
    } else {
        std::fprintf(stderr, "fuzz_shell_quote: no zh_CN.GBK locale, shells run in UTF-8 only\n");
    }
    std::vector<std::unique_ptr<ShellSession>> shells;
    for (const char *shell : {"/bin/bash", "/bin/sh", "/bin/zsh"}) {
        if (::access(shell, X_OK) != 0)
            continue;
        for (const char *locale : locales)
            shells.push_back(std::make_unique<ShellSession>(shell, locale));
    }
    for (const auto &shell : shells)
        std::fprintf(stderr, "fuzz_shell_quote: printing back through %s\n",
                     shell->name().constData());
    return shells;
}

uint32_t contentHash(const uint8_t *data, size_t size)
{
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::vector<std::unique_ptr<ShellSession>> shells = startShells();
    if (size == 0)
        return 0;
    const bool latin1 = data[0] & 1;
    const auto quote = data[0] & 2 ? shellSingleQuoted : shellQuoted;
    // No shell word can hold a NUL.
    QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    bytes.replace('\0', "");
    const QString text = latin1 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);

    const QString word = quote(text);
    FUZZ_EXPECT(!word.isEmpty() && posixUnquoted(word) == text);

    if (contentHash(data, size) % shellSampling != 0)
        return 0;
    const QByteArray encodedWord = latin1 ? word.toLatin1() : word.toUtf8();
    const QByteArray encodedText = latin1 ? text.toLatin1() : text.toUtf8();
    // All shells at once, so they work side by side.
    for (const auto &shell : shells)
        shell->send(encodedWord);
    for (const auto &shell : shells)
        shell->expect(encodedWord, encodedText);
    return 0;
}
