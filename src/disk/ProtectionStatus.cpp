// Whether System Integrity Protection is on, as csrutil reports it.

#include "disk/DiskUtility.h"

#include "exec/ChildProcess.h"
#include "exec/MainThread.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/Timing.h"
#include "model/Utf8Text.h"

#include <QRegularExpression>
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
        printDiagnostic(
            DiskUtilityError::timedOut(QStringLiteral("csrutil"), limit).englishDescription() +
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
    // Only a plain "disabled." takes the system prompt's path. A custom configuration ("enabled
    // (Custom Configuration)." up to Mojave, "unknown (Custom Configuration)." from Catalina on,
    // its items a mix of both words) goes through sudo, which works however the protection is
    // set and shows the tool's output as it comes.
    static const QRegularExpression statusLine(
        QStringLiteral("System Integrity Protection status:\\s*(\\S+)"));
    const QString status = decodeUtf8(csrutilOutput);
    const QRegularExpressionMatch said = statusLine.match(status);
    // Some other text is a doubt; no text at all is a csrutil that has nothing to protect.
    if (!said.hasMatch())
        return !status.trimmed().isEmpty();
    return said.captured(1) != QLatin1String("disabled.");
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
