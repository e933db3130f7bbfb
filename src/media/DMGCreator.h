#pragma once

#include "exec/JobFolder.h"
#include "model/InstallerApp.h"
#include "model/ProgressInfo.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Turns an installer application into a bootable ISO file on the user's desktop: hdiutil makes
// an empty read-write image, the installer's own createinstallmedia writes into it with
// administrator rights, and hdiutil converts it to a CD master that becomes the ".iso". A run that
// fails or is cancelled lets go of the image and removes the image files it made. The engine
// keeps no state; the workflow makes one instance per run.
class DMGCreator {
    Q_DECLARE_TR_FUNCTIONS(DMGCreator)

public:
    using Completion = std::function<void(const ProgressInfo &progress)>;

    // Runs the whole job, handing the completion a copy of the run's progress record after every
    // change: first on the calling thread while earlier outputs of the same name are removed,
    // then from one background thread until the record is complete. Returns once the background
    // part is queued. The background part is a job of the calling thread's (see JobThreads):
    // cancelling it ends the tool that runs and starts no other, and the record completes as
    // cancelled.
    void createBootableDMG(const InstallerApp &installer, Completion completion);

    // What the make-bootable step reports for one line of createinstallmedia's output.
    struct ToolReport {
        // Within the step; nothing when only the detail line changes.
        std::optional<double> progress;
        QString message;

        friend bool operator==(const ToolReport &, const ToolReport &) = default;
    };
    // Reads createinstallmedia's whole output, line by line. The progress never goes below
    // `reached` or an earlier report: such lines only change the detail line.
    static QList<ToolReport> readToolOutput(const QString &output, double reached);

private:
    // A message and a percentage within the current step (0-100).
    using ProgressCallback = std::function<void(const QString &message, double progress)>;
    using DetailCallback = std::function<void(const QString &message)>;
    // The description of what went wrong; nothing on success.
    using Failure = std::optional<QString>;

    // The image while the run has it attached. It is mounted on a private folder of the run's
    // own, never in the volumes folder, where a volume of the same name (a USB stick just made
    // from the same installer) may already be mounted. createinstallmedia's erase mounts the
    // volume anew under the volumes folder, so the image is let go of by its whole disk,
    // wherever its volume is by then; the folder goes once it is.
    struct Attachment {
        std::unique_ptr<JobFolder> mountFolder;
        // "/dev/disk7": empty when nothing is attached.
        QString wholeDisk;
        // "/dev/disk7s1": by it diskutil finds the volume once createinstallmedia has erased it.
        QString volume;

        bool isAttached() const { return !wholeDisk.isEmpty(); }
    };

    // Where hdiutil is told to write the converted image; it adds ".cdr" itself.
    static QString conversionBase(const QString &isoPath);

    [[nodiscard]] static Failure createEmptyDMG(const QString &dmgPath, qint64 size,
                                                const QString &volumeName,
                                                const ProgressCallback &progress);
    [[nodiscard]] static Failure makeBootable(const InstallerApp &installer, const QString &dmgPath,
                                              Attachment &image, const ProgressCallback &progress,
                                              const DetailCallback &detail);
    [[nodiscard]] static Failure attachDMG(const QString &dmgPath, Attachment &image,
                                           const ProgressCallback &progress);
    [[nodiscard]] static Failure detachDMG(Attachment &image);
    [[nodiscard]] static Failure convertDMGtoISO(const QString &dmgPath, const QString &isoPath,
                                                 const ProgressCallback &progress);
};
