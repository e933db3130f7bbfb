#include "host/HostSelection.h"

#include <QDir>
#include <QProcess>

HostSelection HostSelection::choose(const QProcessEnvironment &environment,
                                    const QString &standInProgram)
{
    HostSelection selection;
    const QString givenRoot = environment.value(QStringLiteral("TESSALINE_HOST_ROOT"));
    if (!givenRoot.isEmpty()) {
        selection.m_host = Host::standIn(givenRoot);
        return selection;
    }
#ifdef Q_OS_MACOS
    Q_UNUSED(standInProgram);
    return selection;
#else
    auto folder = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                  QStringLiteral("/tessaline-demo-XXXXXX"));
    if (!folder->isValid()) {
        selection.m_error =
            QStringLiteral("Could not create a folder for the demo: %1").arg(folder->errorString());
        return selection;
    }
    QProcess maker;
    maker.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    maker.start(standInProgram, {QStringLiteral("make-world"), folder->path()});
    const bool finished = maker.waitForFinished(60000);
    if (!finished || maker.exitStatus() != QProcess::NormalExit || maker.exitCode() != 0) {
        maker.kill();
        maker.waitForFinished();
        selection.m_error =
            QStringLiteral("Could not make the demo stand-in Mac with %1: %2")
                .arg(standInProgram,
                     maker.error() == QProcess::FailedToStart
                         ? maker.errorString()
                         : QString::fromUtf8(maker.readAllStandardOutput()).trimmed());
        return selection;
    }
    selection.m_host = Host::standIn(folder->path());
    selection.m_demoFolder = std::move(folder);
    return selection;
#endif
}
