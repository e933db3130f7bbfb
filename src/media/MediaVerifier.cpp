#include "media/MediaVerifier.h"

#include "exec/Cancellation.h"
#include "exec/JobFolder.h"
#include "media/ImageTool.h"
#include "model/InstallMediaContents.h"
#include "model/InstallerTree.h"
#include "model/Sha256.h"
#include "model/SystemError.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

namespace {

using MediaVerifier::Result;
using Outcome = MediaVerifier::Result::Outcome;

constexpr qsizetype blockSize = 1 << 20;
constexpr qint64 reportIntervalMs = 100;

bool isCancelled(const std::shared_ptr<Cancellation> &job)
{
    return job && job->isRequested();
}

QByteArray linkTarget(const QString &path)
{
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length =
        ::readlink(QFile::encodeName(path).constData(), target.data(), size_t(target.size()));
    target.truncate(length < 0 ? 0 : qsizetype(length));
    return target;
}

// Every entry below `root`, links as links; the reason when `root` is no folder.
std::variant<QList<TreeEntry>, QString> listTree(const QString &root,
                                                 const std::shared_ptr<Cancellation> &job)
{
    const QFileInfo top(root);
    if (!top.isDir() || top.isSymLink())
        return QCoreApplication::translate("MediaVerifier", "%1 is not a folder").arg(root);
    QList<TreeEntry> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext() && !isCancelled(job)) {
        const QFileInfo info = it.nextFileInfo();
        TreeEntry entry;
        entry.path = info.filePath().mid(root.size() + 1);
        if (info.isSymLink()) {
            entry.kind = TreeEntry::Kind::link;
            entry.linkTarget = linkTarget(info.filePath());
        } else if (info.isDir()) {
            entry.kind = TreeEntry::Kind::folder;
        } else if (info.isFile()) {
            entry.size = info.size();
        } else {
            entry.kind = TreeEntry::Kind::other;
        }
        entries << entry;
    }
    return entries;
}

// What both sides of one payload's reading share.
struct Reading {
    std::shared_ptr<Cancellation> job;
    // Payload bytes read so far, on both sides.
    std::atomic<qint64> done = 0;
    // One side failed: the other need not go on.
    std::atomic<bool> abandoned = false;

    bool shouldStop() const { return abandoned.load() || isCancelled(job); }
};

struct Digest {
    QByteArray sha256;
    // Why the file could not be read to its end; empty when it was, or when the job stopped.
    QString error;
};

// Hashes the file at `path`, counting what it reads in `reading` and calling `afterBlock`, when
// there is one, after each block. With `uncached` the system is told not to keep or serve what is
// read from its cache.
Digest digestFile(const QString &path, bool uncached, Reading &reading,
                  const std::function<void()> &afterBlock = {})
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        reading.abandoned = true;
        return {{},
                //: A file that could not be read: %1 is its path, %2 the system's reason.
                QCoreApplication::translate("MediaVerifier", "%1: %2")
                    .arg(path, systemErrorText(errno))};
    }
    if (uncached) {
#ifdef F_NOCACHE
        ::fcntl(descriptor, F_NOCACHE, 1);
#else
        // Drops what the cache holds of the file, so that the reads below go to the device.
        ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_DONTNEED);
#endif
    }
    Sha256 hash;
    QByteArray block(blockSize, Qt::Uninitialized);
    Digest digest;
    while (!reading.shouldStop()) {
        const ssize_t got = ::read(descriptor, block.data(), size_t(block.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            //: A file that could not be read: %1 is its path, %2 the system's reason.
            digest.error = QCoreApplication::translate("MediaVerifier", "%1: %2")
                               .arg(path, systemErrorText(errno));
            reading.abandoned = true;
            break;
        }
        if (got == 0) {
            // A file removed while it was read (its volume unmounted or its folder emptied)
            // still reads to its end through the open descriptor: what was read is no longer
            // on the media.
            struct stat status {};
            if (::fstat(descriptor, &status) == 0 && status.st_nlink == 0) {
                digest.error =
                    QCoreApplication::translate("MediaVerifier", "%1 was removed while it was read")
                        .arg(path);
                reading.abandoned = true;
                break;
            }
            digest.sha256 = hash.result();
            break;
        }
        hash.addData(block.constData(), qsizetype(got));
        reading.done += got;
        if (afterBlock)
            afterBlock();
    }
    ::close(descriptor);
    return digest;
}

QString hex(const QByteArray &digest)
{
    return QString::fromLatin1(digest.toHex());
}

Result failed(Outcome outcome, const QString &detail, const QString &copy = {})
{
    return {outcome, detail, copy};
}

} // namespace

namespace MediaVerifier {

Result compareBundles(const QString &source, const QString &copy, const Progress &progress)
{
    const std::shared_ptr<Cancellation> job = Cancellation::current();
    const auto sourceListing = listTree(source, job);
    if (const QString *error = std::get_if<QString>(&sourceListing))
        return failed(
            Outcome::unreadable,
            QCoreApplication::translate("MediaVerifier", "The installer could not be read: %1")
                .arg(*error));
    const auto copyListing = listTree(copy, job);
    if (const QString *error = std::get_if<QString>(&copyListing))
        return failed(
            Outcome::unreadable,
            QCoreApplication::translate("MediaVerifier", "The media could not be read: %1")
                .arg(*error),
            copy);
    if (isCancelled(job))
        return failed(Outcome::cancelled, {}, copy);
    const QList<TreeEntry> &sourceEntries = std::get<QList<TreeEntry>>(sourceListing);
    QList<TreeDifference> differences =
        compareTrees(sourceEntries, std::get<QList<TreeEntry>>(copyListing));
    // Files of other sizes already fail the check: their content is not worth reading.
    if (!differences.isEmpty())
        return failed(Outcome::differs, describeDifferences(differences), copy);

    const QStringList payloads = payloadPaths(sourceEntries);
    qint64 total = 0;
    for (const TreeEntry &entry : sourceEntries)
        if (payloads.contains(entry.path))
            total += 2 * entry.size;
    Reading reading;
    reading.job = job;
    QElapsedTimer sinceReport;
    sinceReport.start();
    const auto report = [&](bool always) {
        if (progress && (always || sinceReport.elapsed() >= reportIntervalMs)) {
            progress(reading.done.load(), total);
            sinceReport.restart();
        }
    };
    report(true);
    for (const QString &payload : payloads) {
        // Both sides at once: they are different devices, and hashing is the slower part.
        std::future<Digest> fromSource =
            std::async(std::launch::async, [&, path = source + u'/' + payload] {
                return digestFile(path, false, reading);
            });
        // Reports come from this thread only, as the media side goes.
        const Digest onMedia =
            digestFile(copy + u'/' + payload, true, reading, [&] { report(false); });
        while (fromSource.wait_for(std::chrono::milliseconds(reportIntervalMs)) !=
               std::future_status::ready)
            report(true);
        const Digest inInstaller = fromSource.get();
        if (isCancelled(job))
            return failed(Outcome::cancelled, {}, copy);
        if (!inInstaller.error.isEmpty())
            return failed(
                Outcome::unreadable,
                QCoreApplication::translate("MediaVerifier", "The installer could not be read: %1")
                    .arg(inInstaller.error),
                copy);
        if (!onMedia.error.isEmpty())
            return failed(
                Outcome::unreadable,
                QCoreApplication::translate("MediaVerifier", "The media could not be read: %1")
                    .arg(onMedia.error),
                copy);
        if (inInstaller.sha256 != onMedia.sha256)
            differences << TreeDifference{payload, TreeDifference::Kind::content,
                                          hex(inInstaller.sha256), hex(onMedia.sha256)};
        report(true);
    }
    if (!differences.isEmpty())
        return failed(Outcome::differs, describeDifferences(differences), copy);
    return {Outcome::verified, {}, copy};
}

Result verifyVolume(const QString &source, const QString &mountPoint, const Progress &progress)
{
    // The copy bears the source's name; failing that, whatever installer the volume holds.
    const QString named = mountPoint + u'/' + QFileInfo(source).fileName();
    const QFileInfo namedInfo(named);
    const std::optional<QString> copy = namedInfo.isDir() && !namedInfo.isSymLink()
                                            ? std::optional(named)
                                            : installerApplicationIn(mountPoint);
    if (!copy)
        return failed(Outcome::differs,
                      QCoreApplication::translate("MediaVerifier",
                                                  "No installer application was found on %1.")
                          .arg(mountPoint));
    return compareBundles(source, *copy, progress);
}

Result verifyImage(const QString &source, const QString &imagePath, const Progress &progress)
{
    JobFolder mountFolder(QStringLiteral("VerifyMount"));
    if (!mountFolder.isValid())
        return failed(Outcome::unreadable, mountFolder.errorString());
    // Read-only: nothing the check does can change the image, and nothing is checked twice.
    const ImageTool::Attached attached = ImageTool::attach(
        imagePath, mountFolder.path(),
        {QStringLiteral("-readonly"), QStringLiteral("-nobrowse"), QStringLiteral("-noverify")});
    Result result;
    if (!attached.outcome.isDone())
        //: %1 is what hdiutil said.
        result = failed(
            Outcome::unreadable,
            QCoreApplication::translate("MediaVerifier", "The image could not be attached: %1")
                .arg(attached.outcome.reason.trimmed()));
    else if (attached.volume.isEmpty())
        result = failed(Outcome::unreadable,
                        QCoreApplication::translate("MediaVerifier",
                                                    "The image was attached, but no volume of it "
                                                    "was mounted on %1.")
                            .arg(mountFolder.path()));
    else
        result = verifyVolume(source, mountFolder.path(), progress);
    if (attached.wholeDisk.isEmpty())
        return result;
    // Part of ending the check, which a cancel does not stop.
    const Cancellation::Scope uncancellable(std::make_shared<Cancellation>());
    const ImageTool::Outcome detached = ImageTool::detach(attached.wholeDisk);
    if (!detached.isDone()) {
        mountFolder.keep();
        //: %1 is the image's device ("/dev/disk7"), %2 what hdiutil said.
        result.detail +=
            (result.detail.isEmpty() ? QString() : QStringLiteral("\n")) +
            QCoreApplication::translate("MediaVerifier", "The image is still attached as %1: eject "
                                                         "it in the Finder. (%2)")
                .arg(attached.wholeDisk, detached.reason.trimmed());
    }
    return result;
}

} // namespace MediaVerifier
