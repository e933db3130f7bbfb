#pragma once

#include "exec/ChildProcess.h"
#include "model/Timing.h"

#include <QString>
#include <QStringList>

#include <optional>

// hdiutil as the jobs that attach images run it: within its time limit, without a shell, and
// letting go of what it attached even when the volume is briefly busy.
namespace ImageTool {

// Waits for one hdiutil run within its limit; what to say when it had to be ended.
std::optional<QString> waitFor(ChildProcess &hdiutil);
// hdiutil's standard error once it has exited, as text.
QString standardError(ChildProcess &hdiutil);
// "/dev/disk7" for any node of the disk, "/dev/disk7s1" included.
QString wholeDiskNode(const QString &node);
// Waits `pause` on a job's thread; false, at once, when the job is asked to stop meanwhile.
bool pauseUnlessCancelled(Timing::Duration pause);

// How one run of hdiutil ended: it could not be started, had to be ended, refused (with its
// standard error as the reason), or did what it was asked.
struct Outcome {
    enum class Kind { done, notStarted, timedOut, refused };
    Kind kind = Kind::done;
    QString reason;

    bool isDone() const { return kind == Kind::done; }
};

struct Attached {
    Outcome outcome;
    // "/dev/disk7" when hdiutil named a device, even on failure: it must be let go of.
    QString wholeDisk;
    // "/dev/disk7s1": the device whose volume is mounted on the folder asked for.
    QString volume;
};
// Attaches `image` with its volume on `mountPoint`, an existing folder, with `options`
// ("-nobrowse",
// "-readonly", …) between the two.
Attached attach(const QString &image, const QString &mountPoint, const QStringList &options);

// Detaches the whole disk `wholeDisk` with -force, asking again after a pause while hdiutil says
// the volume is busy (just after a copy that is often the system indexing what was written).
Outcome detach(const QString &wholeDisk);

} // namespace ImageTool
