// Whether System Integrity Protection is on, as csrutil reports it.

#include "disk/DiskUtility.h"

#include "exec/ChildProcess.h"
#include "exec/MainThread.h"
#include "exec/Utf8Text.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/Timing.h"

#include <QThreadPool>

namespace {

// Any doubt counts as enabled: the password-fed path works either way, the other does not.
bool protectionEnabled()
{
    ChildProcess csrutil(Host::current().csrutil(), {QStringLiteral("status")});
    if (!csrutil.start())
        return true;
    const auto limit = Timing::current().protectionStatusLimit;
    if (!csrutil.waitForExit(limit)) {
        printDiagnostic(DiskUtilityError::timedOut(QStringLiteral("csrutil"), limit).description() +
                        QStringLiteral("; protection is taken to be on"));
        return true;
    }
    return DiskUtility::statusSaysProtectionEnabled(csrutil.readRemainingOutput());
}

} // namespace

bool DiskUtility::statusSaysProtectionEnabled(const QByteArray &csrutilOutput)
{
    // Output that is not text at all is a doubt too.
    if (!QByteArrayView(csrutilOutput).isValidUtf8())
        return true;
    const QString status = decodeUtf8(csrutilOutput);
    // A custom configuration says "enabled" but may have switched off what matters.
    return status.contains(QLatin1String("enabled")) &&
           !status.contains(QLatin1String("disabled")) &&
           !status.contains(QLatin1String("Custom Configuration"));
}

void DiskUtility::checkSIPStatus(std::function<void(bool enabled)> completion)
{
    QThreadPool::globalInstance()->start([completion = std::move(completion)] {
        const bool enabled = protectionEnabled();
        runOnMainThread([completion, enabled] {
            if (completion)
                completion(enabled);
        });
    });
}
