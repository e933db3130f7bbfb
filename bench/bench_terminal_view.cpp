// Streams 10 MB and 20 MB of command output into the terminal overlay through
// AppState::terminalOutput, in chunks of about 4 KB, the way the terminal path appends them, with
// the event loop run between chunks so the window repaints as it would on screen. The time should
// grow linearly with the size (20 MB / 10 MB at most 2.3) and no single chunk should hold the
// event loop for 100 ms or more.
//
// Usage: bench_terminal_view [RUNS]   (default 3 runs per size; medians are printed)
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "model/Timing.h"
#include "state/AppState.h"
#include "support/StandInWorld.h"
#include "ui/TerminalWindow.h"
#include "ui/UnifiedProgressOverlay.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr qint64 megabyte = 1024 * 1024;
constexpr qsizetype chunkSize = 4096;

// About 4 KB of installer-like lines; chunks end mid-line, as pipe reads do.
QString makeChunk(int index)
{
    QString chunk;
    chunk.reserve(chunkSize + 128);
    for (int line = 0; chunk.size() < chunkSize; ++line)
        chunk += QStringLiteral("Copying to disk: %1%... chunk %2 line %3 of installer output\n")
                     .arg((index + line) % 100)
                     .arg(index)
                     .arg(line);
    chunk.truncate(chunkSize);
    return chunk;
}

struct Run {
    double totalMs = 0;
    double longestStallMs = 0;
    bool complete = false;
};

Run streamInto(AppState &state, QWidget &window, qint64 size)
{
    state.terminalOutput = QString();
    auto *overlay = new UnifiedProgressOverlay(
        UnifiedProgressOverlay::OperationType::terminalOperation, state, &window);
    overlay->show();
    QApplication::processEvents();
    auto *view = overlay->findChild<TerminalOutputView *>();

    std::vector<QString> chunks;
    for (int i = 0; i < 16; ++i)
        chunks.push_back(makeChunk(i));

    Run run;
    QElapsedTimer total;
    total.start();
    qint64 written = 0;
    for (int index = 0; written < size; ++index) {
        QElapsedTimer stall;
        stall.start();
        const QString &chunk = chunks[index % chunks.size()];
        state.terminalOutput.modify([&](QString &output) { output += chunk; });
        QApplication::processEvents();
        written += chunk.size();
        run.longestStallMs = std::max(run.longestStallMs, double(stall.nsecsElapsed()) / 1e6);
    }
    run.totalMs = double(total.nsecsElapsed()) / 1e6;
    run.complete = view && view->shownLength() == state.terminalOutput().size() && view->isAtEnd();
    delete overlay;
    state.terminalOutput = QString();
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;

    // AppState starts background work on whatever host is current: give it a stand-in Mac.
    const QString standIn = QCoreApplication::applicationDirPath() + "/tessaline-standin";
    const StandInWorld world({.payloadSize = StandInWorld::asShipped, .program = standIn});
    if (!world.isValid()) {
        std::fprintf(stderr, "could not make a stand-in Mac with %s\n", qPrintable(standIn));
        return 1;
    }
    Timing timing = Timing::current();
    timing.startupRefreshDelay = std::chrono::hours(24);
    Timing::setCurrent(timing);

    AppState state;
    state.isShowingTerminalOverlay = true;
    state.isCreatingMedia = true;
    ProgressInfo progress;
    progress.steps.clear();
    progress.percentage = 40;
    progress.message = QStringLiteral("Copying to disk: 40%");
    state.progressInfo = progress;

    QWidget window;
    window.resize(900, 600);
    window.show();
    QApplication::processEvents();

    struct Result {
        qint64 size;
        double totalMs;
        double longestStallMs;
        bool complete;
    };
    std::vector<Result> results;
    for (const qint64 size : {10 * megabyte, 20 * megabyte}) {
        std::vector<double> totals;
        double longest = 0;
        bool complete = true;
        for (int r = 0; r < runs; ++r) {
            const Run run = streamInto(state, window, size);
            totals.push_back(run.totalMs);
            longest = std::max(longest, run.longestStallMs);
            complete = complete && run.complete;
        }
        results.push_back({size, median(totals), longest, complete});
        std::printf("%3lld MB in %lld chunks of %lld chars: %9.1f ms (median of %d), longest "
                    "stall %6.1f ms%s\n",
                    size / megabyte, (size + chunkSize - 1) / chunkSize, qint64(chunkSize),
                    results.back().totalMs, runs, longest,
                    complete ? "" : "  [view incomplete or not at the end]");
        std::fflush(stdout);
    }
    const double ratio = results[1].totalMs / results[0].totalMs;
    const double stall = std::max(results[0].longestStallMs, results[1].longestStallMs);
    std::printf("20 MB / 10 MB: %.2f (target <= 2.3); longest stall %.1f ms (target < 100)\n",
                ratio, stall);
    const bool ok = ratio <= 2.3 && stall < 100 && results[0].complete && results[1].complete;
    return ok ? 0 : 2;
}
