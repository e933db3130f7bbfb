// The disk image run as a whole: its paths, its progress record and the order of its steps, and
// how createinstallmedia's output becomes progress. The hdiutil steps are in DMGCreatorSteps.cpp.

#include "media/DMGCreator.h"

#include "exec/Cancellation.h"
#include "exec/JobThreads.h"
#include "host/Host.h"
#include "media/PartialImages.h"
#include "model/ByteFormat.h"
#include "model/InstallMediaOutput.h"
#include "model/PathEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBoundaryFinder>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>

namespace {

// Room for what createinstallmedia adds besides the installer itself.
constexpr qint64 headroomBytes = 1073741824;

// Nothing when the path is free now, otherwise why it could not be freed.
std::optional<QString> removeExisting(const QString &path, bool &removed)
{
    removed = false;
    if (!QFileInfo::exists(path))
        return std::nullopt;
    std::error_code error;
    std::filesystem::remove_all(std::filesystem::path(QFile::encodeName(path).toStdString()),
                                error);
    if (error)
        return QString::fromLocal8Bit(error.message());
    removed = true;
    return std::nullopt;
}

// Whether the job this thread does has been asked to stop.
bool isCancelled()
{
    const std::shared_ptr<Cancellation> job = Cancellation::current();
    return job && job->isRequested();
}

// At most 80 characters as the user counts them; a longer line keeps 77 and an ellipsis.
QString shortened(const QString &line)
{
    // Never more characters than code units.
    if (line.size() <= 80)
        return line;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, line);
    qsizetype count = 0;
    qsizetype cut = 0;
    while (characters.toNextBoundary() != -1) {
        ++count;
        if (count == 77)
            cut = characters.position();
        if (count == 81)
            return line.left(cut) + QStringLiteral("...");
    }
    return line;
}

} // namespace

QString DMGCreator::conversionBase(const QString &isoPath)
{
    // Only the extension goes: a ".iso" inside a folder name is part of the path.
    return isoPath.endsWith(QLatin1String(".iso")) ? isoPath.chopped(4) : isoPath;
}

QList<DMGCreator::ToolReport> DMGCreator::readToolOutput(const QString &output, double reached)
{
    // The step's share of the bar the tool's own progress fills; its exit takes it the rest.
    constexpr double toolDone = 95;
    InstallMediaOutput reader;
    QList<ToolReport> reports;
    // The line breaks the tool's output may hold, as the reader knows them.
    const auto isBreak = [](QChar c) {
        return (c >= u'\n' && c <= u'\r') || c == QChar(0x85) || c == QChar(0x2028) ||
               c == QChar(0x2029);
    };
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= output.size(); ++i)
        if (i == output.size() || isBreak(output.at(i))) {
            lines << QStringView(output).mid(start, i - start);
            start = i + 1;
        }
    for (const QStringView received : lines) {
        const QStringView line = received.trimmed();
        if (line.isEmpty())
            continue;
        const double before = reader.progress();
        const InstallMediaOutput::Phase phaseBefore = reader.phase();
        reader.read(InstallMediaOutput::Stream::output, line);
        reader.read(InstallMediaOutput::Stream::output, u"\n");
        // A line that moves the tool on moves the bar; any other only changes the detail line.
        const double progress = reached + reader.progress() * (toolDone - reached) / 100;
        if (reader.progress() > before || reader.phase() != phaseBefore)
            reports << ToolReport{std::max(progress, reached), reader.message()};
        else
            reports << ToolReport{std::nullopt, shortened(line.toString())};
    }
    return reports;
}

void DMGCreator::createBootableDMG(const InstallerApp &installer, Completion completion)
{
    const QString desktop = Host::current().desktopFolder();
    // Named after the installer, but always inside the desktop and /Volumes whatever the name.
    const QString name = asPathEntry(installer.name);
    const QString dmgPath = desktop + u'/' + name + QStringLiteral(".dmg");
    const QString isoPath = desktop + u'/' + name + QStringLiteral(".iso");
    const qint64 requiredSize = installer.size > std::numeric_limits<qint64>::max() - headroomBytes
                                    ? std::numeric_limits<qint64>::max()
                                    : installer.size + headroomBytes;

    auto progress = std::make_shared<ProgressInfo>();
    progress->message = tr("Starting DMG creation...");
    progress->setupSteps(ProgressInfo::OperationType::dmgCreation);
    completion(*progress);

    // A Mac always has a desktop; elsewhere a missing one is made, and only a host where that is
    // impossible stops the run, before anything has been touched.
    if (desktop.isEmpty() || !QDir().mkpath(desktop)) {
        progress->completeAllSteps(false, tr("No desktop folder to save the ISO to"));
        completion(*progress);
        return;
    }

    // Earlier outputs of the same name go without asking; the workflow asked already.
    // `warning` has the error's place as %1.
    const auto clear = [&](const QString &path, const QString &done, const QString &warning) {
        bool removed = false;
        if (const auto error = removeExisting(path, removed))
            progress->updateDetailMessage(warning.arg(*error));
        else if (removed)
            progress->updateDetailMessage(done);
        else
            return;
        completion(*progress);
    };
    clear(dmgPath, tr("Removed existing DMG file"),
          //: %1 is the system's reason.
          tr("Warning: Could not delete existing DMG file - %1"));
    clear(isoPath, tr("Removed existing ISO file"),
          //: %1 is the system's reason.
          tr("Warning: Could not delete existing ISO file - %1"));
    const PartialImages partial(dmgPath, conversionBase(isoPath) + QStringLiteral(".cdr"));

    JobThreads::start([=] {
        // From here on the completion is called from this thread only: ChildProcess hands the
        // tools' output to its handlers on the thread that waits for the tool, so the reports
        // of the output handlers and of the steps never interleave and the record needs no lock.
        ProgressInfo &record = *progress;
        // A step's tools report in their own order; the bar only moves forward within a step.
        const ProgressCallback report = [&](const QString &message, double within) {
            if (record.hasCurrentStep())
                within = std::max(within, record.steps[record.currentStep].progressWithinStep);
            record.updateProgressWithinCurrentStep(within, message);
            completion(record);
        };
        const DetailCallback detail = [&](const QString &message) {
            record.updateDetailMessage(message);
            completion(record);
        };
        const auto beginStep = [&](qint64 step, const QString &message) {
            record.updateCurrentStep(step);
            completion(record);
            report(message, 0);
        };
        Attachment image;
        // Ends the run short of its ISO, having let go of the image and removed what it wrote;
        // `failure` is why, unless the run was cancelled.
        const auto stop = [&](const Failure &failure) {
            if (image.isAttached()) {
                // Part of stopping, which a cancel does not stop, nor quitting.
                const Cancellation::Scope uncancellable(std::make_shared<Cancellation>());
                (void)detachDMG(image);
            }
            const QString left = partial.remove(image.wholeDisk);
            // The private mount point goes whatever became of the image.
            image.mountFolder.reset();
            if (isCancelled()) {
                QString cancelled = tr("Cancelled. The partial disk image was removed.");
                if (!left.isEmpty())
                    cancelled =
                        //: %1 says which image files are left, where and why.
                        tr("Cancelled. %1.").arg(left);
                record.completeAllSteps(false, cancelled);
            } else {
                if (!left.isEmpty())
                    record.updateDetailMessage(left);
                record.completeAllSteps(false, failure);
            }
            completion(record);
        };
        // Runs one step unless the run was cancelled before it; whether the run goes on. A cancel
        // during the step ends its tool, so the step fails, and the end is told as a cancel.
        const auto perform = [&](const std::function<Failure()> &step) {
            if (isCancelled()) {
                stop(std::nullopt);
                return false;
            }
            if (const Failure failure = step()) {
                stop(failure);
                return false;
            }
            return true;
        };

        record.message = tr("Creating DMG file...");
        completion(record);
        //: %1 is a size ("14.2 GB").
        report(tr("Allocating space for DMG file (%1)").arg(formatGigabytes(requiredSize)), 10);
        if (!perform([&] { return createEmptyDMG(dmgPath, requiredSize, name, report); }))
            return;
        report(tr("DMG file created successfully"), 100);

        beginStep(1, tr("Preparing to make DMG bootable"));
        if (!perform([&] { return makeBootable(installer, dmgPath, image, report, detail); }))
            return;
        report(tr("DMG is now bootable"), 100);

        beginStep(2, tr("Preparing to convert DMG to ISO"));
        if (!perform([&] { return convertDMGtoISO(dmgPath, isoPath, report); }))
            return;
        report(tr("Converted to ISO successfully"), 100);

        beginStep(3, tr("Cleaning up temporary files"));
        // The ISO is made; an image that will not go only takes up space.
        QFile::remove(dmgPath);
        report(tr("Cleanup completed"), 100);

        record.completeAllSteps(true, std::nullopt);
        record.message = tr("ISO creation complete!");
        record.outputPath = isoPath;
        completion(record);
    });
}
