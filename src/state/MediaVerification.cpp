// Checking media: the step a USB or ISO job ends with once its tool has written the media, and
// the same check run on its own for media made before. The media is read back on the job's
// thread; its result completes the job's record.

#include "state/AppState.h"

#include "exec/JobThreads.h"
#include "exec/MainThread.h"
#include "media/MediaVerifier.h"
#include "model/ByteFormat.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// The part of the bar the check takes after the writing: reading back is quicker than writing,
// but many gigabytes still take minutes on a USB stick.
constexpr double checkShare = 15;

// How the check ended, said to the user; nothing when it passed.
std::optional<QString> problemWith(const MediaVerifier::Result &result, AppState::Media media,
                                   bool removed)
{
    using Outcome = MediaVerifier::Result::Outcome;
    const bool usb = media == AppState::Media::usbVolume;
    switch (result.outcome) {
    case Outcome::verified:
        return std::nullopt;
    case Outcome::differs: {
        QString again = QCoreApplication::translate("AppState", "Create it again.");
        if (removed)
            again =
                QCoreApplication::translate("AppState", "The ISO was removed. Create it again.");
        else if (usb)
            again = QCoreApplication::translate("AppState",
                                                "Create it again, or use another USB drive.");
        if (usb)
            //: %1 is what differs, one line each; %2 what to do now.
            return QCoreApplication::translate("AppState",
                                               "The USB drive does not match the installer, so it "
                                               "should not be used:\n%1\n%2")
                .arg(result.detail, again);
        //: %1 is what differs, one line each; %2 what to do now.
        return QCoreApplication::translate("AppState",
                                           "The ISO does not match the installer, so it should not "
                                           "be used:\n%1\n%2")
            .arg(result.detail, again);
    }
    case Outcome::unreadable:
        if (usb)
            //: %1 is why the media could not be read.
            return QCoreApplication::translate("AppState", "The USB drive could not be checked, so "
                                                           "it may not be usable: %1")
                .arg(result.detail);
        //: %1 is why the media could not be read.
        return QCoreApplication::translate(
                   "AppState", "The ISO could not be checked, so it may not be usable: %1")
            .arg(result.detail);
    case Outcome::cancelled: {
        const QString detail = result.detail.isEmpty() ? QString() : u'\n' + result.detail;
        if (usb)
            //: %1 is empty, or a line break and what the check could not finish.
            return QCoreApplication::translate("AppState", "Cancelled during the check. The USB "
                                                           "drive was written but not checked.%1")
                .arg(detail);
        //: %1 is empty, or a line break and what the check could not finish.
        return QCoreApplication::translate("AppState", "Cancelled during the check. The ISO was "
                                                       "written but not checked.%1")
            .arg(detail);
    }
    }
    return std::nullopt;
}

} // namespace

ProgressInfo AppState::withCheckToCome(ProgressInfo written) const
{
    if (!verifiesMedia())
        return written;
    const Media media = jobKind() == JobKind::iso ? Media::diskImage : Media::usbVolume;
    //: The title of the step that checks the media written, in a narrow list.
    written.appendStep(tr("Verifying"),
                       media == Media::usbVolume ? tr("Comparing the USB drive with the installer")
                                                 : tr("Comparing the ISO with the installer"),
                       checkShare);
    return written;
}

double AppState::beforeCheck(double percentage) const
{
    return verifiesMedia() ? percentage * (100 - checkShare) / 100 : percentage;
}

bool AppState::verifyWrittenMedia(const ProgressInfo &written)
{
    if (!verifiesMedia())
        return false;
    const Media media = jobKind() == JobKind::iso ? Media::diskImage : Media::usbVolume;
    ProgressInfo record = written;
    record.isComplete = false;
    record.success = false;
    record.updateCurrentStep(record.steps.size() - 1);
    startVerification(record, media, written.outputPath, m_jobSource, written.message);
    return true;
}

void AppState::verifyMedia(const InstallerApp &installer, Media media, const QString &location)
{
    if (isBusy())
        return;
    const Cancellation::Scope job(beginJob(JobKind::verify));
    successProcessed = false;
    ProgressInfo record;
    record.setupSteps(ProgressInfo::OperationType::verification);
    record.updateCurrentStep(0);
    record.outputPath = location;
    isCreatingMedia = true;
    //: The result of checking media on its own: it matched.
    startVerification(record, media, location, installer.bundlePath(), tr("Verified"));
}

void AppState::startVerification(ProgressInfo record, Media media, const QString &location,
                                 const QString &source, const QString &succeeded)
{
    m_verifying = true;
    progressInfo = record;
    if (isShowingTerminalOverlay())
        terminalOutput.modify([&](QString &output) {
            output += media == Media::usbVolume
                          ? tr("\nComparing the USB drive with the installer...\n")
                          : tr("\nComparing the ISO with the installer...\n");
        });
    // An ISO this job made and found bad goes: nobody should use it. Media made before is the
    // user's and stays.
    const bool removeWhenBad = media == Media::diskImage && jobKind() == JobKind::iso;
    JobThreads::start(
        m_job, [state = weakSelf(), media, location, source, removeWhenBad, succeeded] {
            const MediaVerifier::Progress progress = [state](qint64 done, qint64 total) {
                runOnMainThread(state, [done, total](AppState &app) {
                    app.progressInfo.modify([&](ProgressInfo &progress) {
                        progress.updateProgressWithinCurrentStep(
                            total > 0 ? 100.0 * double(done) / double(total) : 0,
                            //: %1 and %2 are sizes ("1.2 GB of 24.5 GB read").
                            tr("%1 of %2 read").arg(formatGigabytes(done), formatGigabytes(total)));
                    });
                });
            };
            const MediaVerifier::Result result =
                media == Media::usbVolume ? MediaVerifier::verifyVolume(source, location, progress)
                                          : MediaVerifier::verifyImage(source, location, progress);
            const bool removed = removeWhenBad &&
                                 result.outcome == MediaVerifier::Result::Outcome::differs &&
                                 QFile::remove(location);
            const std::optional<QString> problem = problemWith(result, media, removed);
            runOnMainThread(state, [problem, succeeded, media](AppState &app) {
                app.progressInfo.modify([&](ProgressInfo &progress) {
                    progress.completeAllSteps(!problem, problem);
                    progress.verified = !problem;
                    if (problem)
                        return;
                    progress.message = succeeded;
                    progress.updateDetailMessage(
                        media == Media::usbVolume
                            ? tr("Verified: the USB drive holds an exact copy of the installer.")
                            : tr("Verified: the ISO holds an exact copy of the installer."));
                });
                if (app.isShowingTerminalOverlay()) {
                    app.terminalOutput.modify([&](QString &output) {
                        output += problem.value_or(app.progressInfo().detailMessage) + u'\n';
                    });
                    // The terminal's own overlay shows the result; the run itself is over.
                    app.isCreatingMedia = false;
                }
                app.endJob();
                app.refreshDiskList();
            });
        });
}
