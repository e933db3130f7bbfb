// Streams 10 MB and 20 MB of text lines through the two administrator paths, on a fresh stand-in
// Mac: the script runner (AppleScriptHelper's streamed command, through osascript) and the
// terminal path (USBCreator::executeTerminalCommand, through sudo). Both are compared with a
// plain `cat FILE > /dev/null` in bash; each should stay a small multiple of cat and grow
// linearly with the size.
//
// Usage: bench_command_streaming [RUNS]   (default 5 runs per measurement; medians are printed)
//
// The operations print a diagnostic line per output chunk on standard output, which would cost
// more than the streaming itself when it goes to a terminal; standard output is therefore sent
// to /dev/null and the results are printed on standard error.
//
// With TESSALINE_BENCH_OSASCRIPT=PROGRAM the world's osascript is replaced by PROGRAM (a script
// that runs the command it is given, say), which shows what the runner costs on its own.

#include "exec/AppleScriptHelper.h"
#include "host/Host.h"
#include "media/USBCreator.h"
#include "model/ShellQuote.h"
#include "support/StandInWorld.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

constexpr qint64 megabyte = 1024 * 1024;

void makeTextFile(const QString &path, qint64 size)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QByteArray block;
    for (qint64 line = 0; block.size() < megabyte; ++line)
        block += QByteArray("line ") + QByteArray::number(line).rightJustified(8, '0') +
                 " of generated installer log text, progress 42.0%\n";
    block.truncate(megabyte);
    for (qint64 written = 0; written < size; written += block.size())
        file.write(block);
}

// Runs `work` until it calls its argument with whether it succeeded; the milliseconds it took.
using Streaming = std::function<void(std::function<void(bool)>)>;

std::optional<double> timeOnce(const Streaming &work)
{
    QEventLoop loop;
    bool finished = false;
    bool succeeded = false;
    QElapsedTimer timer;
    timer.start();
    work([&](bool ok) {
        finished = true;
        succeeded = ok;
        loop.quit();
    });
    // Plain cat finishes before the loop would start.
    if (!finished)
        loop.exec();
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    return succeeded ? std::optional(elapsed) : std::nullopt;
}

std::optional<double> median(int runs, const Streaming &work)
{
    if (!timeOnce(work)) // also warms the caches
        return std::nullopt;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto time = timeOnce(work);
        if (!time)
            return std::nullopt;
        times.push_back(*time);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

Streaming scriptRunner(const QString &command, qint64 expectedBytes)
{
    return [=](std::function<void(bool)> done) {
        auto received = std::make_shared<qint64>(0);
        AppleScriptHelper::runShellCommandWithAdminPrivilegesAsync(
            command, [received](const QString &text) { *received += text.size(); },
            [](const QString &) {},
            [=](int status, const std::optional<QString> &, const std::optional<QString> &error) {
                if (status != 0)
                    std::fprintf(stderr, "  script runner failed (%d): %s\n", status,
                                 qPrintable(error.value_or(QString())));
                // A shell script's result comes back without its last line break.
                done(status == 0 && *received >= expectedBytes - 1);
            });
    };
}

Streaming terminal(const QString &command, qint64 expectedBytes)
{
    return [=](std::function<void(bool)> done) {
        auto received = std::make_shared<qint64>(0);
        QString password = QStringLiteral("tessaline");
        USBCreator::executeTerminalCommand(
            {QStringLiteral("/bin/bash"), QStringLiteral("-c"), command},
            Secret::takeText(password),
            [received](const QString &text) { *received += text.size(); }, [](const QString &) {},
            [=](qint32 status) {
                if (status != 0)
                    std::fprintf(stderr, "  terminal path failed (%d)\n", status);
                done(status == 0 && *received == expectedBytes);
            });
    };
}

Streaming shell(const QString &command)
{
    return [=](std::function<void(bool)> done) {
        QProcess process;
        process.start(Host::current().bash(), {QStringLiteral("-c"), command});
        done(process.waitForFinished(-1) && process.exitCode() == 0);
    };
}

struct Measurement {
    std::optional<double> scriptRunner;
    std::optional<double> terminal;
    std::optional<double> cat;
    std::optional<double> pipedCat;
};

QString describe(const std::optional<double> &time, qint64 size,
                 const std::optional<double> &cat = std::nullopt)
{
    if (!time)
        return QStringLiteral("     failed");
    QString text = QStringLiteral("%1 ms %2 MB/s")
                       .arg(*time, 9, 'f', 1)
                       .arg(double(size) / megabyte / (*time / 1000), 7, 'f', 1);
    if (cat)
        text += QStringLiteral(" (%1x cat)").arg(*time / *cat, 0, 'f', 1);
    return text;
}

Measurement measure(const QString &folder, qint64 size, int runs)
{
    const QString file = QStringLiteral("%1/lines-%2MB.txt").arg(folder).arg(size / megabyte);
    makeTextFile(file, size);
    const QString command = QStringLiteral("cat ") + shellQuoted(file);
    Measurement result;
    result.cat = median(runs, shell(QStringLiteral("cat %1 > /dev/null").arg(shellQuoted(file))));
    // The floor for any reader of a pipe: the same bytes through one pipe into a second cat.
    result.pipedCat =
        median(runs, shell(QStringLiteral("cat %1 | cat > /dev/null").arg(shellQuoted(file))));
    result.scriptRunner = median(runs, scriptRunner(command, size));
    result.terminal = median(runs, terminal(command, size));
    std::fprintf(stderr,
                 "%3lld MB: cat %s\n        cat | cat     %s\n        script runner %s\n"
                 "        terminal      %s\n",
                 static_cast<long long>(size / megabyte), qPrintable(describe(result.cat, size)),
                 qPrintable(describe(result.pipedCat, size, result.cat)),
                 qPrintable(describe(result.scriptRunner, size, result.cat)),
                 qPrintable(describe(result.terminal, size, result.cat)));
    return result;
}

QString growth(const std::optional<double> &small, const std::optional<double> &large)
{
    return small && large ? QString::number(*large / *small, 'f', 2) : QStringLiteral("-");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    const int null = ::open("/dev/null", O_WRONLY);
    std::fflush(stdout);
    ::dup2(null, STDOUT_FILENO);
    ::close(null);

    const StandInWorld world(
        {.payloadSize = StandInWorld::asShipped,
         .program = QCoreApplication::applicationDirPath() + QStringLiteral("/tessaline-standin")});
    if (!world.isValid()) {
        std::fprintf(stderr, "could not make a stand-in world\n");
        return 1;
    }
    if (const QString replacement = qEnvironmentVariable("TESSALINE_BENCH_OSASCRIPT");
        !replacement.isEmpty()) {
        const QString osascript = Host::current().osascript();
        if (!QFile::remove(osascript) || !QFile::copy(replacement, osascript)) {
            std::fprintf(stderr, "could not replace %s\n", qPrintable(osascript));
            return 1;
        }
    }

    const Measurement small = measure(world.root(), 10 * megabyte, runs);
    const Measurement large = measure(world.root(), 20 * megabyte, runs);
    std::fprintf(stderr, "growth 20/10 MB: cat %s, script runner %s, terminal %s\n",
                 qPrintable(growth(small.cat, large.cat)),
                 qPrintable(growth(small.scriptRunner, large.scriptRunner)),
                 qPrintable(growth(small.terminal, large.terminal)));
    return 0;
}
