// Measures the installer size walk against `du -sb` on the same generated trees of 100,000 and
// 200,000 files: the walk should be no slower than du, and grow linearly with the file count.
//
// Usage: bench_directory_size [RUNS]   (default 7 runs per measurement; medians are printed)

#include "model/InstallerApp.h"

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

// A bundle-like tree: folders of 100 small files each, nested two levels deep.
void makeTree(const QString &root, int fileCount)
{
    const QByteArray content(100, 'x');
    for (int index = 0; index < fileCount; ++index) {
        const QString folder =
            QStringLiteral("%1/group%2/folder%3").arg(root).arg(index / 10000).arg(index / 100);
        if (index % 100 == 0)
            QDir().mkpath(folder);
        QFile file(QStringLiteral("%1/file%2").arg(folder).arg(index));
        file.open(QIODevice::WriteOnly);
        file.write(content.constData(), 1 + index % 100);
    }
}

double medianMilliseconds(int runs, const std::function<void()> &work)
{
    work(); // warm the file-system caches
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Measurement {
    double walk;
    double du;
};

Measurement measure(int fileCount, int runs)
{
    QTemporaryDir folder;
    makeTree(folder.path(), fileCount);
    const QUrl url = QUrl::fromLocalFile(folder.path());
    qint64 walked = 0;
    const double walk =
        medianMilliseconds(runs, [&] { walked = InstallerApp::calculateDirectorySize(url); });
    const double du = medianMilliseconds(runs, [&] {
        QProcess process;
        process.start(QStringLiteral("du"), {QStringLiteral("-sb"), folder.path()});
        process.waitForFinished(-1);
    });
    std::printf("%7d files: walk %8.1f ms, du -sb %8.1f ms, walk/du %.2f (%lld bytes)\n", fileCount,
                walk, du, walk / du, static_cast<long long>(walked));
    std::fflush(stdout);
    return {walk, du};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const Measurement small = measure(100000, runs);
    const Measurement large = measure(200000, runs);
    std::printf("growth 200k/100k: walk %.2f, du %.2f\n", large.walk / small.walk,
                large.du / small.du);
    return 0;
}
