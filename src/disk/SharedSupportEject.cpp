// Ejecting the "Shared Support" volumes that installer applications leave mounted.

#include "disk/DiskTool.h"
#include "disk/DiskUtility.h"

#include "exec/AppleScriptHelper.h"
#include "exec/AppleScriptString.h"
#include "model/Diagnostics.h"
#include "model/ShellQuote.h"

#include <QFileInfo>
#include <QThreadPool>

namespace {

// The identifier comes from a tool's output: quoted for the shell, then for AppleScript, so no
// text in it can become part of either script.
QString ejectScript(const QString &deviceIdentifier)
{
    return QStringLiteral("do shell script ") +
           appleScriptString(QStringLiteral("diskutil eject ") + shellQuoted(deviceIdentifier));
}

int ejectSharedSupport()
{
    const auto entries = DiskTool::volumesFolderEntries();
    if (!entries)
        return 0;
    int ejected = 0;
    for (const QString &path : *entries) {
        // Only the exact name: "Shared Support 1" may be something the user mounted.
        if (QFileInfo(path).fileName() != QLatin1String("Shared Support"))
            continue;
        const auto identifier = DiskUtility::getDeviceIdentifier(path);
        if (!identifier)
            continue;
        const AppleScriptHelper::Result result =
            AppleScriptHelper::runScript(ejectScript(*identifier));
        if (result.status == 0) {
            ++ejected;
            printDiagnostic(QStringLiteral("Successfully ejected Shared Support volume: ") +
                            *identifier);
        } else {
            printDiagnostic(QStringLiteral("Failed to eject Shared Support volume: ") +
                            result.output);
        }
    }
    return ejected;
}

} // namespace

void DiskUtility::ejectSharedSupportVolumes(EjectCompletion completion)
{
    QThreadPool::globalInstance()->start([completion = std::move(completion)] {
        const int ejected = ejectSharedSupport();
        if (completion)
            completion(ejected);
    });
}
