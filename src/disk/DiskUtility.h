#pragma once

#include "disk/DiskInfo.h"
#include "disk/DiskUtilityError.h"

#include <QByteArray>
#include <QList>
#include <QString>
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

    struct VolumeSpace {
        qint64 size = 0;
        qint64 freeSpace = 0;
        friend bool operator==(const VolumeSpace &, const VolumeSpace &) = default;
    };

    // Finds the removable volumes on a background thread. Progress reports and then the
    // completion arrive on that thread; the only failure is a diskutil that cannot be started.
    static void getRemovableDisks(DiskListCompletion completion);
    static void getRemovableDisks(ProgressCallback progress, DiskListCompletion completion);

    // The device identifier of the volume holding `path`; nothing when diskutil cannot say.
    // Runs diskutil on the calling thread, so keep it off the main thread.
    static std::optional<QString> getDeviceIdentifier(const QString &path);

    // Answers whether protection is on, on the main thread. When the status cannot be learnt,
    // protection is taken to be on.
    static void checkSIPStatus(std::function<void(bool enabled)> completion);

    // Ejects every mounted volume named exactly "Shared Support" and hands over how many went,
    // on the background thread that did the work.
    static void ejectSharedSupportVolumes(EjectCompletion completion);

    // The building blocks of the above; each blocks the calling thread.

    // The whole scan. Fails only when diskutil cannot be started.
    static DiskListResult fetchRemovableDisks(const ProgressCallback &progress);
    // Whether diskutil says the whole disk `diskIdentifier` is removable or external.
    static bool isRemovableDisk(const QString &diskIdentifier);
    // Whether diskutil says the volume mounted at `volumePath` is removable or external.
    static bool isRemovableVolume(const QString &volumePath);
    // The size and free space of the file system holding `mountPoint`; zeros when unreadable.
    static VolumeSpace getVolumeInfo(const QString &mountPoint);

    // Reading the tools' answers, without running the tools.

    // A partition of a `diskutil list -plist` answer that names a volume: the name is always a
    // single entry of the volumes folder.
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
    // What isRemovableDisk and isRemovableVolume conclude from a `diskutil info -plist` answer.
    static bool infoSaysRemovableDisk(const QVariantMap &info);
    static bool infoSaysRemovableVolume(const QVariantMap &info);
    // What checkSIPStatus concludes from `csrutil status` output.
    static bool statusSaysProtectionEnabled(const QByteArray &csrutilOutput);
};
