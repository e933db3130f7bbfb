// The steps of a disk image run that drive hdiutil and createinstallmedia. hdiutil is always run
// without a shell, its arguments as a list, so no path needs quoting on that side.

#include "media/DMGCreator.h"
#include "media/InstallMediaFailure.h"

#include "disk/DiskTool.h"
#include "exec/AppleScriptHelper.h"
#include "exec/Cancellation.h"
#include "exec/ChildProcess.h"
#include "exec/JobFolder.h"
#include "host/Host.h"
#include "media/DMGCreatorError.h"
#include "media/ImageTool.h"
#include "model/HdiutilOutput.h"
#include "model/InstallMediaContents.h"
#include "model/Timing.h"
#include "model/Utf8Text.h"

#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <filesystem>

namespace {

constexpr qint64 bytesPerMegabyte = 1048576;
// hdiutil needs room for the file system besides the files.
constexpr qint64 extraMegabytes = 1500;

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString platformError(const std::error_code &error)
{
    return QString::fromLocal8Bit(error.message());
}

QString commandFailed(const QString &text)
{
    return DMGCreatorError::commandFailed(text).description();
}

// Waits for one hdiutil step within its time limit; the failure when it had to be ended.
std::optional<QString> waitForImageTool(ChildProcess &hdiutil)
{
    if (const std::optional<QString> late = ImageTool::waitFor(hdiutil))
        return commandFailed(*late);
    return std::nullopt;
}

using ImageTool::standardError;

// Shows each piece of the tool's standard output as it arrives, in place of %1 in `message`.
void reportOutput(ChildProcess &tool, Utf8ChunkDecoder &decoder, const QString &message,
                  const std::function<void(const QString &, double)> &progress)
{
    tool.onOutput([&decoder, message, progress](const QByteArray &chunk) {
        const QString text = decoder.decode(chunk);
        if (!text.isEmpty())
            progress(message.arg(hdiutilProgressMessage(QString(), text)), 50);
    });
}

// Why the volume `device` does not hold the installer, or nothing when it does. Erasing it
// mounted it anew under the volumes folder, so diskutil is asked where it is now.
std::optional<QString> missingInstaller(const QString &device)
{
    const DiskTool::Answer answer = DiskTool::ask(device);
    if (answer.failure)
        //: %1 is why diskutil could not say.
        return QCoreApplication::translate("DMGCreator",
                                           "the disk image's volume could not be looked up: %1")
            .arg(answer.failure->description());
    const QString mountPoint =
        answer.info
            ? DiskTool::string(*answer.info, QStringLiteral("MountPoint")).value_or(QString())
            : QString();
    if (mountPoint.isEmpty() || !installerApplicationIn(Host::current().hostPath(mountPoint)))
        return QCoreApplication::translate("DMGCreator", "createinstallmedia reported success, "
                                                         "but the disk image holds no installer");
    return std::nullopt;
}

} // namespace

DMGCreator::Failure DMGCreator::createEmptyDMG(const QString &dmgPath, qint64 size,
                                               const QString &volumeName,
                                               const ProgressCallback &progress)
{
    const Host host = Host::current();
    progress(tr("Creating temporary folder"), 10);
    // The staging folder is this step's own and goes however the step ends.
    const JobFolder staging(QStringLiteral("DMGStaging"));
    if (!staging.isValid())
        return staging.errorString();

    const qint64 megabytes = size / bytesPerMegabyte + extraMegabytes;
    progress(tr("Creating source files"), 20);
    // Only there so the source folder is not empty; the image is made either way.
    (void)staging.writeFile(QStringLiteral(".temp"), {});
    //: %1 is the image's size in megabytes.
    progress(tr("Creating DMG file (%1 MB)").arg(QString::number(megabytes)), 30);

    ChildProcess hdiutil(host.hdiutil(),
                         {QStringLiteral("create"), QStringLiteral("-size"),
                          QString::number(megabytes) + u'm', QStringLiteral("-volname"), volumeName,
                          QStringLiteral("-fs"), QStringLiteral("HFS+J"),
                          QStringLiteral("-srcfolder"), staging.path(), QStringLiteral("-format"),
                          QStringLiteral("UDRW"), dmgPath});
    Utf8ChunkDecoder decoder;
    //: %1 is what hdiutil printed.
    reportOutput(hdiutil, decoder, tr("Creating DMG: %1"), progress);
    // hdiutil says little while it allocates; the user gets a sign of life at each interval,
    // seven at most.
    const auto interval = Timing::current().imageToolFeedbackInterval;
    for (int i = 0; i < 7; ++i) {
        hdiutil.addTimeLimit(interval * i, [&progress, i] {
            progress(tr("Creating DMG file - please wait..."), 60 + 5 * i);
        });
    }
    if (!hdiutil.start())
        return hdiutil.errorString();
    if (Failure failure = waitForImageTool(hdiutil))
        return failure;
    hdiutil.stopReading();

    if (hdiutil.exitStatus() != 0)
        //: %1 is what hdiutil said.
        return commandFailed(tr("Failed to create DMG: %1").arg(standardError(hdiutil)));
    progress(tr("DMG file created at %1").arg(dmgPath), 100);
    return std::nullopt;
}

DMGCreator::Failure DMGCreator::attachDMG(const QString &dmgPath, Attachment &image,
                                          const ProgressCallback &progress)
{
    const Host host = Host::current();
    progress(tr("Mounting DMG file"), 5);
    image.mountFolder = std::make_unique<JobFolder>(QStringLiteral("DMGMount"));
    if (!image.mountFolder->isValid())
        return image.mountFolder->errorString();
    const QString mountPoint = image.mountFolder->path();
    // Hidden from the Finder, which would otherwise open a window on it.
    const ImageTool::Attached attached = ImageTool::attach(
        dmgPath, mountPoint, {QStringLiteral("-noverify"), QStringLiteral("-nobrowse")});
    image.wholeDisk = attached.wholeDisk;
    switch (attached.outcome.kind) {
    case ImageTool::Outcome::Kind::notStarted:
        return attached.outcome.reason;
    case ImageTool::Outcome::Kind::timedOut:
        return commandFailed(attached.outcome.reason);
    case ImageTool::Outcome::Kind::refused:
        //: %1 is what hdiutil said.
        return commandFailed(tr("Failed to mount DMG: %1").arg(attached.outcome.reason));
    case ImageTool::Outcome::Kind::done:
        break;
    }
    image.volume = attached.volume;
    if (image.volume.isEmpty())
        return commandFailed(tr("DMG mounted but volume not found at %1").arg(mountPoint));
    progress(tr("DMG mounted successfully at %1").arg(mountPoint), 10);
    return std::nullopt;
}

DMGCreator::Failure DMGCreator::makeBootable(const InstallerApp &installer, const QString &dmgPath,
                                             Attachment &image, const ProgressCallback &progress,
                                             const DetailCallback &detail)
{
    if (Failure failure = attachDMG(dmgPath, image, progress))
        return failure;
    constexpr double copyingStarted = 15;
    progress(tr("Copying the installer files to the DMG"), copyingStarted);

    // This command goes through a shell as root: the installer record quotes the tool path, the
    // mount point and the bundle path for it, since installer names hold spaces and may hold
    // quotes or anything else a file name can.
    const QString command = installer.createinstallmediaCommand(image.mountFolder->path());
    const AppleScriptHelper::Result result = AppleScriptHelper::runWithAdminPrivileges(command);

    for (const ToolReport &report : readToolOutput(result.output, copyingStarted)) {
        if (report.progress)
            progress(report.message, *report.progress);
        else
            detail(report.message);
    }

    if (result.status != 0)
        //: %1 is why, often in createinstallmedia's words.
        return commandFailed(
            tr("Failed to make DMG bootable: %1")
                .arg(installMediaFailure(InstallMediaOutput(), result.output, result.output)));
    // Status 0 is only the tool's word; the image must hold the installer now.
    if (const Failure missing = missingInstaller(image.volume))
        //: %1 is why, often in createinstallmedia's words.
        return commandFailed(tr("Failed to make DMG bootable: %1").arg(*missing));
    progress(tr("Successfully made DMG bootable"), 95);
    if (Failure failure = detachDMG(image))
        return failure;
    progress(tr("Unmounted DMG"), 100);
    return std::nullopt;
}

DMGCreator::Failure DMGCreator::detachDMG(Attachment &image)
{
    const ImageTool::Outcome detached = ImageTool::detach(image.wholeDisk);
    switch (detached.kind) {
    case ImageTool::Outcome::Kind::notStarted:
        return detached.reason;
    case ImageTool::Outcome::Kind::timedOut:
        return commandFailed(detached.reason);
    case ImageTool::Outcome::Kind::refused:
        //: %1 is what hdiutil said.
        return commandFailed(tr("Failed to unmount DMG: %1").arg(detached.reason));
    case ImageTool::Outcome::Kind::done:
        break;
    }
    image.wholeDisk.clear();
    image.volume.clear();
    // Nothing is mounted on the folder any more.
    image.mountFolder.reset();
    return std::nullopt;
}

DMGCreator::Failure DMGCreator::convertDMGtoISO(const QString &dmgPath, const QString &isoPath,
                                                const ProgressCallback &progress)
{
    progress(tr("Converting DMG to ISO format"), 10);
    const QString base = conversionBase(isoPath);
    ChildProcess hdiutil(Host::current().hdiutil(),
                         {QStringLiteral("convert"), dmgPath, QStringLiteral("-format"),
                          QStringLiteral("UDTO"), QStringLiteral("-o"), base});
    Utf8ChunkDecoder decoder;
    //: %1 is what hdiutil printed.
    reportOutput(hdiutil, decoder, tr("Converting: %1"), progress);
    // A sign of life at each interval up to 90; past that the conversion is simply waited for.
    const auto interval = Timing::current().imageToolFeedbackInterval;
    for (int i = 1; 20 + 5 * i <= 90; ++i) {
        hdiutil.addTimeLimit(interval * i, [&progress, i] {
            progress(tr("Converting DMG to ISO - please wait..."), 20 + 5 * i);
        });
    }
    if (!hdiutil.start())
        return hdiutil.errorString();
    if (Failure failure = waitForImageTool(hdiutil))
        return failure;
    hdiutil.stopReading();
    if (hdiutil.exitStatus() != 0)
        //: %1 is what hdiutil said.
        return commandFailed(tr("Failed to convert DMG to ISO: %1").arg(standardError(hdiutil)));
    progress(tr("Conversion completed"), 95);

    // hdiutil's status 0 is only its word: the master it wrote must be there, as large as the
    // image's data. A UDIF image carries a trailer of some kilobytes the master has not, so
    // sizes within a megabyte of each other count as the same.
    const QString written = base + QStringLiteral(".cdr");
    const QFileInfo master(written);
    if (!master.isFile() || master.isSymLink())
        return commandFailed(tr("Failed to convert DMG to ISO: hdiutil reported success, but "
                                "wrote nothing at %1")
                                 .arg(written));
    const qint64 imageSize = QFileInfo(dmgPath).size();
    if (std::abs(master.size() - imageSize) > bytesPerMegabyte)
        //: %1 and %2 are numbers of bytes.
        return commandFailed(tr("Failed to convert DMG to ISO: hdiutil reported success, but "
                                "wrote %1 bytes of an image of %2")
                                 .arg(QString::number(master.size()), QString::number(imageSize)));
    progress(tr("Renaming CDR file to ISO"), 98);
    std::error_code error;
    std::filesystem::rename(nativePath(written), nativePath(isoPath), error);
    if (error)
        return platformError(error);
    return std::nullopt;
}
