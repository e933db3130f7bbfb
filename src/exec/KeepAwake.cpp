#include "exec/KeepAwake.h"

#include "exec/ChildProcess.h"
#include "exec/JobThreads.h"
#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/Utf8Text.h"

#include <QCoreApplication>

void KeepAwake::start()
{
    if (m_run)
        return;
    m_run = std::make_shared<Cancellation>();
    JobThreads::start(m_run, [] {
        ChildProcess caffeinate(Host::current().caffeinate(),
                                {QStringLiteral("-i"), QStringLiteral("-w"),
                                 QString::number(QCoreApplication::applicationPid())});
        // Once it has been asked to stop, not starting or ending is what was asked for.
        const auto asked = [] { return Cancellation::current()->isRequested(); };
        const QString warning = QStringLiteral("The Mac may sleep during this job: ");
        if (!caffeinate.start()) {
            if (!asked())
                printDiagnostic(warning + QStringLiteral("caffeinate did not start: ") +
                                caffeinate.errorString());
            return;
        }
        caffeinate.waitForExit();
        if (asked())
            return;
        QString line =
            warning +
            QStringLiteral("caffeinate ended early, with status %1").arg(caffeinate.exitStatus());
        const QString said = decodeUtf8(caffeinate.readRemainingError()).trimmed();
        if (!said.isEmpty())
            line += QStringLiteral(": ") + said;
        printDiagnostic(line);
    });
}

void KeepAwake::stop()
{
    if (!m_run)
        return;
    m_run->request();
    m_run.reset();
}
