#include "media/ImageTool.h"

#include "disk/DiskTool.h"
#include "exec/Cancellation.h"
#include "host/Host.h"
#include "model/HdiutilOutput.h"
#include "model/Utf8Text.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <thread>

namespace {

bool isSameFolder(const QString &one, const QString &other)
{
    const QString canonical = QFileInfo(one).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(other).canonicalFilePath();
}

// Starts and waits for `hdiutil`; the outcome unless it exited with 0.
ImageTool::Outcome run(ChildProcess &hdiutil)
{
    using Kind = ImageTool::Outcome::Kind;
    if (!hdiutil.start())
        return {Kind::notStarted, hdiutil.errorString()};
    if (const std::optional<QString> late = ImageTool::waitFor(hdiutil))
        return {Kind::timedOut, *late};
    if (hdiutil.exitStatus() != 0)
        return {Kind::refused, ImageTool::standardError(hdiutil)};
    return {};
}

} // namespace

namespace ImageTool {

std::optional<QString> waitFor(ChildProcess &hdiutil)
{
    const auto limit = Timing::current().imageToolLimit;
    if (hdiutil.waitForExit(limit))
        return std::nullopt;
    //: %1 is a length of time ("10 minutes").
    return QCoreApplication::translate("ImageTool", "hdiutil did not finish within %1")
        .arg(Timing::describe(limit));
}

QString standardError(ChildProcess &hdiutil)
{
    return hdiutilFailureReason(hdiutil.readRemainingError());
}

QString wholeDiskNode(const QString &node)
{
    const QString name = node.mid(QStringLiteral("/dev/").size());
    return QStringLiteral("/dev/") + DiskTool::wholeDiskOf(name).value_or(name);
}

bool pauseUnlessCancelled(Timing::Duration pause)
{
    using namespace std::chrono;
    const std::shared_ptr<Cancellation> job = Cancellation::current();
    const auto until = steady_clock::now() + pause;
    while (steady_clock::now() < until) {
        if (job && job->isRequested())
            return false;
        std::this_thread::sleep_for(
            std::min<steady_clock::duration>(milliseconds(50), until - steady_clock::now()));
    }
    return !(job && job->isRequested());
}

Attached attach(const QString &image, const QString &mountPoint, const QStringList &options)
{
    ChildProcess hdiutil(Host::current().hdiutil(),
                         QStringList{QStringLiteral("attach"), image} + options +
                             QStringList{QStringLiteral("-mountpoint"), mountPoint});
    Attached attached{run(hdiutil), {}, {}};
    if (attached.outcome.kind == Outcome::Kind::notStarted ||
        attached.outcome.kind == Outcome::Kind::timedOut)
        return attached;
    // Whatever else went wrong, a device it names is attached and must be let go of.
    const QList<HdiutilAttachedDevice> devices =
        hdiutilAttachedDevices(decodeUtf8(hdiutil.readRemainingOutput()));
    if (!devices.isEmpty())
        attached.wholeDisk = wholeDiskNode(devices.first().device);
    for (const HdiutilAttachedDevice &device : devices) {
        if (isSameFolder(Host::current().hostPath(device.mountPoint), mountPoint))
            attached.volume = device.device;
    }
    return attached;
}

Outcome detach(const QString &wholeDisk)
{
    // hdiutil's status when the kernel refuses to unmount a volume in use.
    constexpr int busyStatus = 16;
    constexpr int attempts = 3;
    for (int attempt = 1;; ++attempt) {
        ChildProcess hdiutil(Host::current().hdiutil(),
                             {QStringLiteral("detach"), wholeDisk, QStringLiteral("-force")});
        const Outcome outcome = run(hdiutil);
        if (outcome.kind != Outcome::Kind::refused || hdiutil.exitStatus() != busyStatus ||
            attempt == attempts || !pauseUnlessCancelled(Timing::current().detachRetryPause))
            return outcome;
    }
}

} // namespace ImageTool
