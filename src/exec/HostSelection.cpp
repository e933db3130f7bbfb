#include "exec/HostSelection.h"

#include "exec/ChildProcess.h"

#include <QDir>

#include <chrono>
#include <cstdio>

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
    ChildProcess maker(standInProgram, {QStringLiteral("make-world"), folder->path()});
    // No host is chosen yet: the maker gets this program's own environment.
    maker.setEnvironment(QProcessEnvironment::systemEnvironment());
    // What it says on its standard error is for whoever started this program.
    maker.onError([](const QByteArray &chunk) {
        std::fwrite(chunk.constData(), 1, size_t(chunk.size()), stderr);
    });
    const bool started = maker.start();
    if (!started || !maker.waitForExit(std::chrono::minutes(1)) || maker.exitStatus() != 0) {
        selection.m_error =
            QStringLiteral("Could not make the demo stand-in Mac with %1: %2")
                .arg(standInProgram,
                     !started ? maker.errorString()
                              : QString::fromUtf8(maker.readRemainingOutput()).trimmed());
        return selection;
    }
    selection.m_host = Host::standIn(folder->path());
    selection.m_demoFolder = std::move(folder);
    return selection;
#endif
}
