// The disk list of AppState: keeping the removable disks current with the user's target
// selection carried over, when asked and as volumes come and go, and ejecting disks.

#include "state/AppState.h"

#include "disk/DiskUtility.h"
#include "exec/AppleScriptHelper.h"
#include "exec/AppleScriptString.h"
#include "exec/MainThread.h"
#include "host/Host.h"
#include "host/VolumeWatcher.h"
#include "model/Diagnostics.h"
#include "model/ShellQuote.h"

#include <QLocale>
#include <QThreadPool>

namespace {

// A double as people read it in logs: the shortest form that reads back the same, always with
// a fractional part ("25.0", "46.25").
QString shortestDecimal(double value)
{
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    if (!text.contains(u'.') && !text.contains(u'e') && !text.contains(u'n'))
        text += QStringLiteral(".0");
    return text;
}

std::optional<QString> deviceOf(const std::optional<DiskInfo> &disk)
{
    return disk ? std::optional(disk->deviceIdentifier) : std::nullopt;
}

// The record of `device` in a listing. Records are new on every listing; the device is what the
// user chose.
std::optional<DiskInfo> recordOf(const QList<DiskInfo> &disks, const std::optional<QString> &device)
{
    for (const DiskInfo &disk : disks)
        if (device && disk.deviceIdentifier == *device)
            return disk;
    return std::nullopt;
}

} // namespace

void AppState::refreshDiskList()
{
    listDisks(Listing::shown);
}

void AppState::listDisks(Listing listing)
{
    // Whatever changed before now is in this listing, or in the one it waits for.
    m_volumesChangedUnlisted = false;
    // A hung diskutil must not gather listings behind it.
    if (m_listingDisks) {
        m_relistDisks = std::max(m_relistDisks.value_or(Listing::quiet), listing);
        return;
    }
    m_listingDisks = true;
    if (listing == Listing::shown)
        runOnMainThread(this, [this] { isLoadingDisks = true; });
    const std::optional<QString> rememberedDevice = deviceOf(selectedDisk());

    DiskUtility::getRemovableDisks(
        [](const QString &message, double percentage) {
            printDiagnostic(
                QStringLiteral("Disk loading: %1 - %2%").arg(message, shortestDecimal(percentage)));
        },
        [state = weakSelf(), listing, rememberedDevice](const DiskUtility::DiskListResult &result) {
            runOnMainThread(state, [result, listing, rememberedDevice](AppState &app) {
                app.m_listingDisks = false;
                if (const auto again = std::exchange(app.m_relistDisks, std::nullopt))
                    runOnMainThread(&app, [&app, again] {
                        if (again == Listing::shown)
                            app.refreshDiskList();
                        else
                            app.listChangedVolumes();
                    });
                const bool shown = listing == Listing::shown;
                if (const auto *error = std::get_if<DiskUtilityError>(&result)) {
                    // Nobody asked for a quiet listing; the list stays as it was.
                    if (!shown)
                        return printDiagnostic(QStringLiteral("Failed to get disk list: ") +
                                               error->englishDescription());
                    app.isLoadingDisks = false;
                    app.showError(tr("Disk Error"),
                                  //: %1 is why diskutil gave no list.
                                  tr("Failed to get disk list: %1").arg(error->description()));
                    return;
                }
                const QList<DiskInfo> disks = std::get<QList<DiskInfo>>(result);
                app.availableDisks = disks;
                if (!shown) {
                    // The device selected now, which the user may have chosen while the listing
                    // ran, keeps its row highlighted throughout.
                    if (const auto same = recordOf(disks, deviceOf(app.selectedDisk())))
                        app.selectedDisk = *same;
                    return;
                }
                app.isLoadingDisks = false;
                if (const auto same = recordOf(disks, rememberedDevice))
                    app.runAfter(Timing::current().diskReselectionDelay,
                                 [&app, disk = *same] { app.selectedDisk = disk; });
            });
        });
}

void AppState::watchVolumes()
{
    auto *watcher =
        new VolumeWatcher(Host::current(), Timing::current().volumeChangeSettleDelay, this);
    connect(watcher, &VolumeWatcher::volumesChanged, this, &AppState::listChangedVolumes);
}

void AppState::listChangedVolumes()
{
    // A media run changes volumes all along (its target is erased and renamed) under its overlay.
    if (isCreatingMedia()) {
        m_volumesChangedUnlisted = true;
        return;
    }
    listDisks(Listing::quiet);
}

void AppState::listVolumesChangedDuringRun()
{
    // Queued: a run that succeeds lists the disks itself right after its overlay goes, and that
    // listing has the changes.
    runOnMainThread(this, [this] {
        if (!isCreatingMedia() && m_volumesChangedUnlisted)
            listDisks(Listing::quiet);
    });
}

void AppState::ejectDisk(const DiskInfo &disk)
{
    const QString device = disk.deviceIdentifier;
    isLoadingDisks = true;
    QThreadPool::globalInstance()->start([state = weakSelf(), device] {
        const QString script =
            QStringLiteral("do shell script ") +
            appleScriptString(QStringLiteral("diskutil eject ") + shellQuoted(device));
        const AppleScriptHelper::Result result = AppleScriptHelper::runScript(script);
        runOnMainThread(state, [device, result](AppState &app) {
            app.isLoadingDisks = false;
            if (result.status != 0) {
                app.showError(tr("Eject Error"),
                              //: %1 is what diskutil said.
                              tr("Failed to eject disk: %1").arg(result.output));
                return;
            }
            app.refreshDiskList();
            if (app.selectedDisk() && app.selectedDisk()->deviceIdentifier == device)
                app.selectedDisk = std::nullopt;
        });
    });
}

void AppState::ejectSharedSupportVolumes()
{
    DiskUtility::ejectSharedSupportVolumes(
        [state = weakSelf()](const DiskUtility::EjectResult &result) {
            if (const auto *error = std::get_if<DiskUtilityError>(&result)) {
                printDiagnostic(QStringLiteral("Error ejecting Shared Support volumes: ") +
                                error->englishDescription());
                return;
            }
            if (std::get<int>(result) > 0)
                runOnMainThread(state, [](AppState &app) { app.refreshDiskList(); });
        });
}
