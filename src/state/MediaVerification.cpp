// Checking media: the step a USB or ISO job ends with once its tool has written the media, and
// the same check run on its own for media made before. The media is read back on the job's
// thread; its result completes the job's record.

#include "state/AppState.h"

#include "exec/JobThreads.h"
#include "media/MediaVerifier.h"
#include "model/ByteFormat.h"

#include <QFile>

namespace {

// The part of the bar the check takes after the writing: reading back is quicker than writing,
// but many gigabytes still take minutes on a USB stick.
constexpr double checkShare = 15;

QString mediaName(AppState::Media media)
{
    return media == AppState::Media::usbVolume ? QStringLiteral("USB drive")
                                               : QStringLiteral("ISO");
}

// How the check ended, said to the user; nothing when it passed.
std::optional<QString> problemWith(const MediaVerifier::Result &result, AppState::Media media,
                                   bool removed)
{
    using Outcome = MediaVerifier::Result::Outcome;
    const QString what = mediaName(media);
    switch (result.outcome) {
    case Outcome::verified:
        return std::nullopt;
    case Outcome::differs:
        return QStringLiteral("The %1 does not match the installer, so it should not be used:\n"
                              "%2\n%3")
            .arg(what, result.detail,
                 removed ? QStringLiteral("The ISO was removed. Create it again.")
                 : media == AppState::Media::usbVolume
                     ? QStringLiteral("Create it again, or use another USB drive.")
                     : QStringLiteral("Create it again."));
    case Outcome::unreadable:
        return QStringLiteral("The %1 could not be checked, so it may not be usable: %2")
            .arg(what, result.detail);
    case Outcome::cancelled:
        return QStringLiteral("Cancelled during the check. The %1 was written but not checked.%2")
            .arg(what, result.detail.isEmpty() ? QString() : u'\n' + result.detail);
    }
    return std::nullopt;
}

} // namespace

ProgressInfo AppState::withCheckToCome(ProgressInfo written) const
{
    if (!verifiesMedia())
        return written;
    const Media media = jobKind() == JobKind::iso ? Media::diskImage : Media::usbVolume;
    written.appendStep(QStringLiteral("Verifying"),
                       QStringLiteral("Comparing the %1 with the installer").arg(mediaName(media)),
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
    startVerification(record, media, location, installer.bundlePath(), QStringLiteral("Verified"));
}

void AppState::startVerification(ProgressInfo record, Media media, const QString &location,
                                 const QString &source, const QString &succeeded)
{
    m_verifying = true;
    progressInfo = record;
    if (isShowingTerminalOverlay())
        terminalOutput.modify([&](QString &output) {
            output +=
                QStringLiteral("\nComparing the %1 with the installer...\n").arg(mediaName(media));
        });
    // An ISO this job made and found bad goes: nobody should use it. Media made before is the
    // user's and stays.
    const bool removeWhenBad = media == Media::diskImage && jobKind() == JobKind::iso;
    JobThreads::start(
        m_job, [state = weakSelf(), media, location, source, removeWhenBad, succeeded] {
            const MediaVerifier::Progress progress = [state](qint64 done, qint64 total) {
                AppState::postToMainThread(state, [done, total](AppState &app) {
                    app.progressInfo.modify([&](ProgressInfo &progress) {
                        progress.updateProgressWithinCurrentStep(
                            total > 0 ? 100.0 * double(done) / double(total) : 0,
                            QStringLiteral("%1 of %2 read")
                                .arg(formatGigabytes(done), formatGigabytes(total)));
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
            AppState::postToMainThread(state, [problem, succeeded, media](AppState &app) {
                app.progressInfo.modify([&](ProgressInfo &progress) {
                    progress.completeAllSteps(!problem, problem);
                    progress.verified = !problem;
                    if (problem)
                        return;
                    progress.message = succeeded;
                    progress.updateDetailMessage(
                        QStringLiteral("Verified: the %1 holds an exact copy of the installer.")
                            .arg(mediaName(media)));
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
