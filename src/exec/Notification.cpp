#include "exec/Notification.h"

#include "exec/AppleScriptHelper.h"
#include "exec/AppleScriptString.h"
#include "model/Diagnostics.h"

#include <QThreadPool>

void postNotification(const QString &text)
{
    const QString script = QStringLiteral("display notification ") + appleScriptString(text) +
                           QStringLiteral(" with title ") +
                           appleScriptString(QStringLiteral("Tessaline"));
    QThreadPool::globalInstance()->start([script] {
        const AppleScriptHelper::Result result = AppleScriptHelper::runScript(script);
        if (result.status != 0)
            printDiagnostic(QStringLiteral("The notification was not posted: ") +
                            result.diagnosticText());
    });
}
