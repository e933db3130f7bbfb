// Measures the check of written media on payloads of 1 GB and 4 GB (sparse files, as the
// stand-in's are): an installer bundle and its copy, compared the way a USB or ISO job compares
// them, both sides hashed at once. The same two files hashed by `sha256sum` one after the other
// give the rate to compare with: the check should hash at no less than two thirds of it, and its
// cost should grow linearly with the payload.
//
// Usage: bench_payload_digest [RUNS]   (default 3 runs per measurement; medians are printed)

#include "media/MediaVerifier.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr qint64 gigabyte = 1'000'000'000;

void makeBundle(const QString &root, qint64 payloadSize)
{
    QDir().mkpath(root + QStringLiteral("/Contents/SharedSupport"));
    QFile info(root + QStringLiteral("/Contents/Info.plist"));
    info.open(QIODevice::WriteOnly);
    info.write("<plist/>");
    QFile payload(root + QStringLiteral("/Contents/SharedSupport/SharedSupport.dmg"));
    payload.open(QIODevice::WriteOnly);
    payload.resize(payloadSize);
}

double medianSeconds(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(double(clock.nsecsElapsed()) / 1e9);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    std::printf("%-8s %12s %12s %14s %14s %8s\n", "payload", "check (s)", "check GB/s",
                "sha256sum (s)", "sha256sum GB/s", "ratio");
    double firstCheck = 0;
    for (const qint64 size : {gigabyte, 4 * gigabyte}) {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("source.app"));
        const QString copy = dir.filePath(QStringLiteral("copy.app"));
        makeBundle(source, size);
        makeBundle(copy, size);
        const double check = medianSeconds(runs, [&] {
            if (!MediaVerifier::compareBundles(source, copy, {}).isVerified())
                std::fprintf(stderr, "the check failed\n");
        });
        const double reference = medianSeconds(runs, [&] {
            QProcess::execute(QStringLiteral("sha256sum"),
                              {source + QStringLiteral("/Contents/SharedSupport/SharedSupport.dmg"),
                               copy + QStringLiteral("/Contents/SharedSupport/SharedSupport.dmg")});
        });
        if (firstCheck == 0)
            firstCheck = check;
        const double hashed = 2.0 * double(size) / 1e9;
        std::printf("%-8s %12.2f %12.2f %14.2f %14.2f %8.2f\n",
                    qPrintable(QStringLiteral("%1 GB").arg(size / gigabyte)), check, hashed / check,
                    reference, hashed / reference, reference / check);
    }
    return 0;
}
