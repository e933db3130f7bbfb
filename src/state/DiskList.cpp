// The disk list of AppState: keeping the removable disks current with the user's target
// selection carried over, and ejecting disks.

#include "state/AppState.h"

#include "disk/DiskUtility.h"
#include "exec/AppleScriptHelper.h"
#include "exec/AppleScriptString.h"
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

} // namespace

void AppState::refreshDiskList()
{
    // A hung diskutil must not gather listings behind it.
    if (m_listingDisks) {
        m_relistDisks = true;
        return;
    }
    m_listingDisks = true;
    QMetaObject::invokeMethod(
        this, [this] { isLoadingDisks = true; }, Qt::QueuedConnection);
    const std::optional<QString> rememberedDevice =
        selectedDisk() ? std::optional(selectedDisk()->deviceIdentifier) : std::nullopt;

    DiskUtility::getRemovableDisks(
        [](const QString &message, double percentage) {
            printDiagnostic(
                QStringLiteral("Disk loading: %1 - %2%").arg(message, shortestDecimal(percentage)));
        },
        [state = weakSelf(), rememberedDevice](const DiskUtility::DiskListResult &result) {
            AppState::postToMainThread(state, [result, rememberedDevice](AppState &app) {
                app.m_listingDisks = false;
                if (std::exchange(app.m_relistDisks, false))
                    QMetaObject::invokeMethod(
                        &app, [&app] { app.refreshDiskList(); }, Qt::QueuedConnection);
                if (const auto *error = std::get_if<DiskUtilityError>(&result)) {
                    app.isLoadingDisks = false;
                    app.showError(QStringLiteral("Disk Error"),
                                  QStringLiteral("Failed to get disk list: ") +
                                      error->description());
                    return;
                }
                const QList<DiskInfo> disks = std::get<QList<DiskInfo>>(result);
                app.availableDisks = disks;
                app.isLoadingDisks = false;
                if (!rememberedDevice)
                    return;
                // Records are new on every listing; the device is what the user chose.
                const auto same = std::find_if(disks.begin(), disks.end(), [&](const DiskInfo &d) {
                    return d.deviceIdentifier == *rememberedDevice;
                });
                if (same != disks.end())
                    app.runAfter(Timing::current().diskReselectionDelay,
                                 [&app, disk = *same] { app.selectedDisk = disk; });
            });
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
        AppState::postToMainThread(state, [device, result](AppState &app) {
            app.isLoadingDisks = false;
            if (result.status != 0) {
                app.showError(QStringLiteral("Eject Error"),
                              QStringLiteral("Failed to eject disk: ") + result.output);
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
                                error->description());
                return;
            }
            if (std::get<int>(result) > 0)
                AppState::postToMainThread(state, [](AppState &app) { app.refreshDiskList(); });
        });
}
