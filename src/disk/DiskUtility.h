#pragma once

#include "disk/DiskInfo.h"
#include "disk/DiskUtilityError.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <variant>

// The disk services: which removable volumes are attached, whether System Integrity Protection
// is on, and clearing away the "Shared Support" volumes installers leave mounted. Everything
// here asks macOS's own tools (diskutil, csrutil) and keeps no state between calls.
class DiskUtility {
public:
    // A progress report: what is being done and how far along, 0 to 100.
    using ProgressCallback = std::function<void(const QString &message, double percentage)>;
    using DiskListResult = std::variant<QList<DiskInfo>, DiskUtilityError>;
    using DiskListCompletion = std::function<void(const DiskListResult &result)>;
    using EjectResult = std::variant<int, DiskUtilityError>;
    using EjectCompletion = std::function<void(const EjectResult &result)>;

    // The whole disks the running system lives on: the boot volume's own whole disk and, for
    // APFS, the whole disks of its container's physical stores.
    struct StartupDisk {
        QStringList wholeDisks;
    };

    // Finds the volumes that may receive installer media on a background thread: mounted,
    // physical, writable, external or removable, and not on the startup disk. Progress reports
    // and then the completion arrive on that thread. The scan fails when diskutil cannot be
    // started, does not answer in time, or does not say which disk the Mac started from.
    static void getRemovableDisks(DiskListCompletion completion);
    static void getRemovableDisks(ProgressCallback progress, DiskListCompletion completion);

    // Asks diskutil again, just before `disk` is erased, whether its mount point still belongs to
    // its device and the device may still be erased. Gives the text to refuse with, ending in
    // "Nothing was erased.", or nothing when the erase may go ahead. Blocks the calling thread,
    // so keep it off the main thread.
    static std::optional<QString> confirmTarget(const DiskInfo &disk);

    // What createinstallmedia left on the target's whole disk once it said it had succeeded.
    struct InstallMedia {
        // The new volume's mount point, when one holds an installer application.
        std::optional<QString> mountPoint;
        // Otherwise the text to fail the run with.
        QString problem;
    };
    // Asks diskutil which volumes `target`'s whole disk holds now and looks into each that is not
    // the volume from before the erase (by its UUID) for an installer application at its top, on
    // a background thread; the answer arrives on the main thread.
    static void findInstallMedia(const DiskInfo &target,
                                 std::function<void(const InstallMedia &found)> completion);
    // The same, blocking the calling thread.
    static InstallMedia fetchInstallMedia(const DiskInfo &target);

    // Answers whether protection is on, on the main thread. When the status cannot be learnt,
    // csrutil included not answering within its limit, protection is taken to be on.
    static void checkSIPStatus(std::function<void(bool enabled)> completion);

    // Ejects every disk image diskutil says is mounted at a volumes-folder entry named exactly
    // "Shared Support" and hands over how many went, on the background thread that did the
    // work. Nothing on the startup disk is ever ejected.
    static void ejectSharedSupportVolumes(EjectCompletion completion);

    // The building blocks of the above; each blocks the calling thread.

    // The whole scan.
    static DiskListResult fetchRemovableDisks(const ProgressCallback &progress);
    // Asks `diskutil info -plist /`.
    static std::variant<StartupDisk, DiskUtilityError> findStartupDisk();

    // Reading the tools' answers, without running the tools.

    // A partition of a `diskutil list -plist` answer that names a volume.
    struct ListedVolume {
        QString deviceIdentifier;
        QString volumeName;
    };
    // A whole disk of that answer: its identifier, when it has one, and its volumes in
    // partition order.
    struct ListedDisk {
        std::optional<QString> deviceIdentifier;
        QList<ListedVolume> volumes;
    };
    // The whole disks of a `diskutil list -plist` answer, in order; nothing when the answer is
    // no property list or holds no list of whole disks.
    static std::optional<QList<ListedDisk>> readDiskList(const QByteArray &listing);
    // The startup disk a `diskutil info -plist /` answer names; nothing when it names none.
    static std::optional<StartupDisk> readStartupDisk(const QVariantMap &rootInfo);
    // Why the volume a `diskutil info -plist` answer describes may not be erased ("it is a disk
    // image"), or nothing when it may: it must be mounted, physical, writable, external or
    // removable, and not on the startup disk.
    static std::optional<QString> whyNotTarget(const QVariantMap &volumeInfo,
                                               const StartupDisk &startup);
    // The record of a volume that may be erased, from its `diskutil info -plist` answer.
    static DiskInfo targetRecord(const QVariantMap &volumeInfo);
    // What checkSIPStatus concludes from `csrutil status` output.
    static bool statusSaysProtectionEnabled(const QByteArray &csrutilOutput);

    Q_DECLARE_TR_FUNCTIONS(DiskUtility)
};
