// shellQuoted and shellSingleQuoted, checked against real shells. The first byte picks the
// function and how the rest becomes text: decoded as UTF-8, or each byte one character (Latin-1),
// so that any byte sequence, such as a GBK character whose second byte is a backslash, reaches the
// shell. Every quoted word must read back, by a small POSIX reader, as exactly the text; a sample
// of the inputs, picked by their contents so a failure replays, is also printed back by bash,
// dash and zsh (where present) under a UTF-8 and a GBK locale, which must hand over the same
// bytes. One long-running shell per shell and locale takes the commands over a pipe; every
// exchange with them has a deadline, so a shell that stops answering fails the input instead of
// holding up the run.

#include "FuzzInput.h"

#include "model/ShellQuote.h"

#include <QList>

#include <cerrno>
#include <chrono>
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

// One input in this many goes through the shells, and only one no longer than this: a shell
// answers a few hundred times slower than the quoting runs, and bash reads its commands from a
// pipe one byte at a time.
constexpr uint32_t shellSampling = 16;
constexpr size_t shellInputLimit = 512;
// Far more than any shell needs for one word, and less than libFuzzer's own time limit, so the
// report names the shell.
constexpr std::chrono::milliseconds answerDeadline{4000};

// The word as a POSIX shell reads it, for the words the quoting functions make: characters the
// shell takes literally, '…' segments and \' between them. Nothing for anything else, such as
// a quote left open, a bare word starting with "=" (which zsh replaces by a command's path) or a
// backslash the quoter put next to a character outside ASCII (which a GBK shell would read as
// part of that character).
std::optional<QString> posixUnquoted(const QString &word)
{
    static const QString literal = QStringLiteral("/._-+:,=@%");
    if (word.startsWith(u'='))
        return std::nullopt;
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

// The shells run in a folder of their own, so that a word the quoting got wrong cannot touch
// anything that matters.
const char *shellFolder()
{
    static const QByteArray folder = [] {
        char name[] = "/tmp/fuzz_shell_quote.XXXXXX";
        if (!mkdtemp(name))
            brokenPromise("a folder for the shells", __FILE__, __LINE__);
        return QByteArray(name);
    }();
    return folder.constData();
}

// A shell reading commands from a pipe, started once and kept for the whole run. Its pipes do
// not block on this side: the run writes a command and reads the answers of all shells in one
// poll loop, so no shell can wait on a full pipe that the run is not emptying.
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
        posix_spawn_file_actions_addchdir_np(&actions, shellFolder());
        const QByteArray lcAll = QByteArray("LC_ALL=") + locale;
        char *const argv[] = {const_cast<char *>(shell), nullptr};
        char *const envp[] = {const_cast<char *>(lcAll.constData()),
                              const_cast<char *>("PATH=/usr/bin:/bin"), nullptr};
        if (posix_spawn(&m_pid, shell, &actions, nullptr, argv, envp) != 0)
            brokenPromise("starting the shell", __FILE__, __LINE__);
        posix_spawn_file_actions_destroy(&actions);
        ::close(commands[0]);
        ::close(answers[1]);
        m_commands = commands[1];
        m_answers = answers[0];
        fcntl(m_commands, F_SETFL, O_NONBLOCK);
        fcntl(m_answers, F_SETFL, O_NONBLOCK);
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

    // Starts an exchange: the shell is to print `word` back after a fixed first argument, so a
    // word that vanished or split in two shows; a NUL, which no text here holds, ends the answer.
    void ask(const QByteArray &word)
    {
        m_word = word;
        m_pending = "printf '<%s>' x " + word + "; printf '\\000'\n";
        m_written = 0;
        m_answer.clear();
        m_answered = false;
    }

    bool answered() const { return m_answered; }

    // What to wait for next: room in the command pipe while the command is not all written,
    // then the answer.
    pollfd waitFor() const
    {
        if (m_written < m_pending.size())
            return {m_commands, POLLOUT, 0};
        return {m_answers, POLLIN, 0};
    }

    // Moves the exchange on as far as it goes without waiting.
    void advance()
    {
        while (m_written < m_pending.size()) {
            const ssize_t n = ::write(m_commands, m_pending.constData() + m_written,
                                      size_t(m_pending.size() - m_written));
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                return;
            if (n <= 0)
                fail("stopped reading commands");
            m_written += n;
        }
        for (;;) {
            char buffer[4096];
            const ssize_t n = ::read(m_answers, buffer, sizeof buffer);
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                return;
            if (n <= 0)
                fail("ended");
            m_answer.append(buffer, n);
            if (m_answer.endsWith('\0')) {
                m_answered = true;
                return;
            }
        }
    }

    void expect(const QByteArray &text)
    {
        const QByteArray answer = m_answer.chopped(1);
        if (answer != "<x><" + text + '>')
            fail("printed " + answer.toHex(' ') + " for text " + text.toHex(' '));
    }

    [[noreturn]] void fail(const QByteArray &what)
    {
        std::fprintf(stderr, "%s %s; the word was %s\n", m_name.constData(), what.constData(),
                     m_word.toHex(' ').constData());
        std::abort();
    }

    const QByteArray &name() const { return m_name; }

private:
    QByteArray m_name;
    pid_t m_pid = 0;
    int m_commands = -1;
    int m_answers = -1;
    QByteArray m_word;
    QByteArray m_pending;
    qsizetype m_written = 0;
    QByteArray m_answer;
    bool m_answered = false;
};

using Shells = std::vector<std::unique_ptr<ShellSession>>;

// All shells at once, so they work side by side. Signals (libFuzzer's timer among them) only
// cut a wait short; the deadline counts from the start.
void printBack(const Shells &shells, const QByteArray &word, const QByteArray &text)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + answerDeadline;
    for (const auto &shell : shells) {
        shell->ask(word);
        shell->advance();
    }
    for (;;) {
        std::vector<pollfd> waits;
        std::vector<ShellSession *> waiting;
        for (const auto &shell : shells) {
            if (!shell->answered()) {
                waits.push_back(shell->waitFor());
                waiting.push_back(shell.get());
            }
        }
        if (waiting.empty())
            break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            waiting.front()->fail("did not answer within the deadline");
        const int ready = poll(waits.data(), nfds_t(waits.size()), int(left.count()));
        if (ready < 0 && errno != EINTR)
            waiting.front()->fail("could not be waited for");
        for (size_t i = 0; ready > 0 && i < waits.size(); ++i) {
            if (waits[i].revents != 0)
                waiting[i]->advance();
        }
    }
    for (const auto &shell : shells)
        shell->expect(text);
}

Shells startShells()
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
    Shells shells;
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
    static const Shells shells = startShells();
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

    if (size > shellInputLimit || contentHash(data, size) % shellSampling != 0)
        return 0;
    printBack(shells, latin1 ? word.toLatin1() : word.toUtf8(),
              latin1 ? text.toLatin1() : text.toUtf8());
    return 0;
}
