// caffeinate: holds off sleep for as long as it runs, which on a stand-in Mac is only a wait. It
// takes the real tool's options (-d -i -m -s -u, -t SECONDS, -w PID) and runs until the process
// -w names has gone, -t seconds have passed or a signal ends it; with neither -w nor -t, until a
// signal. Running a utility under it is more than this stand-in does.
//
// Every run leaves one line in var/standin/caffeinate.log once it is over:
//   {"argv": ["caffeinate", "-i", "-w", "4242"], "start": "…Z", "end": "…Z", "ended": "SIGTERM"}
// "ended" is "pid exited", "timeout" or the signal that ended the run (SIGTERM, SIGINT or SIGHUP),
// which the tool then dies of, as the real one does. The times are UTC to the millisecond.
#include "World.h"
#include "tools/PackageToolSupport.h"
#include "tools/Tools.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QJsonArray>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <optional>
#include <utility>

namespace {

using ToolSupport::writeErr;

const char usageText[] = "usage: caffeinate [-disu] [-t timeout] [-w pid] [utility arguments...]\n";

int usage(const QByteArray &complaint = {})
{
    writeErr((complaint.isEmpty() ? QByteArray() : "caffeinate: " + complaint + '\n') + usageText);
    return 1;
}

struct Options {
    std::optional<qint64> pid;
    std::optional<qint64> seconds;
    QStringList utility;
};

// The options as getopt reads them: flags may share a word ("-di"), and the value of -t or -w
// follows in the same word or the next. Nullopt after a complaint, with the status in `status`.
std::optional<Options> parse(const QStringList &args, int *status)
{
    Options options;
    qsizetype next = 0;
    for (; next < args.size(); ++next) {
        const QString &arg = args.at(next);
        if (arg == QLatin1String("--")) {
            ++next;
            break;
        }
        if (!arg.startsWith(u'-') || arg.size() == 1)
            break;
        for (qsizetype at = 1; at < arg.size(); ++at) {
            const QChar flag = arg.at(at);
            if (QStringView(u"dimsu").contains(flag))
                continue;
            if (flag != u't' && flag != u'w') {
                *status = usage("illegal option -- " + QString(flag).toUtf8());
                return std::nullopt;
            }
            QString value = arg.mid(at + 1);
            if (value.isEmpty() && ++next == args.size()) {
                *status = usage("option requires an argument -- " + QString(flag).toUtf8());
                return std::nullopt;
            }
            if (value.isEmpty())
                value = args.at(next);
            bool isNumber = false;
            const qint64 number = value.toLongLong(&isNumber);
            if (!isNumber || number <= 0) {
                *status = usage();
                return std::nullopt;
            }
            (flag == u't' ? options.seconds : options.pid) = number;
            break;
        }
    }
    options.utility = args.mid(next);
    return options;
}

const std::pair<int, const char *> endingSignals[] = {
    {SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"}, {SIGHUP, "SIGHUP"}};

volatile std::sig_atomic_t endedBy = 0;

extern "C" void noteEnd(int signal)
{
    endedBy = signal;
}

bool isAlive(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Waits for the end of the run. The ending signals are caught, so that the run is recorded
// whatever ends it. What ended it, and the signal when one did.
std::pair<QString, int> waitForTheEnd(const Options &options)
{
    struct sigaction catching = {};
    catching.sa_handler = noteEnd;
    sigemptyset(&catching.sa_mask);
    for (const auto &[number, name] : endingSignals)
        sigaction(number, &catching, nullptr);
    const QDeadlineTimer deadline = options.seconds
                                        ? QDeadlineTimer(std::chrono::seconds(*options.seconds))
                                        : QDeadlineTimer(QDeadlineTimer::Forever);
    // The process watched is looked at this often; a signal cuts the pause short.
    const timespec watchInterval{0, 50'000'000};
    for (;;) {
        for (const auto &[number, name] : endingSignals)
            if (endedBy == number)
                return {QLatin1String(name), number};
        if (options.pid && !isAlive(*options.pid))
            return {QStringLiteral("pid exited"), 0};
        if (deadline.hasExpired())
            return {QStringLiteral("timeout"), 0};
        nanosleep(&watchInterval, nullptr);
    }
}

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

} // namespace

int runCaffeinate(const World &world, const QStringList &args)
{
    int status = 0;
    const std::optional<Options> options = parse(args, &status);
    if (!options)
        return status;
    if (!options->utility.isEmpty())
        return Tools::notAvailable(QStringLiteral("caffeinate with a utility"));
    const QString start = now();
    const auto [ended, signal] = waitForTheEnd(*options);
    ToolSupport::logEntry(
        world, QStringLiteral("caffeinate.log"),
        {{QStringLiteral("argv"),
          QJsonArray::fromStringList(QStringList{QStringLiteral("caffeinate")} + args)},
         {QStringLiteral("start"), start},
         {QStringLiteral("end"), now()},
         {QStringLiteral("ended"), ended}});
    if (signal == 0)
        return 0;
    // Dies of the signal, as it would have without the wait.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return 128 + signal;
}
