#include "tools/ChildTool.h"

#include <QProcess>

namespace ChildTool {

namespace {

void prepare(QProcess &process, const Launch &launch)
{
    process.setProgram(launch.program);
    process.setArguments(launch.arguments);
    process.setProcessEnvironment(launch.environment);
    if (!launch.workingFolder.isEmpty())
        process.setWorkingDirectory(launch.workingFolder);
    if (launch.outputFile.isEmpty()) {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    } else {
        process.setStandardOutputFile(launch.outputFile, QIODevice::Append);
        process.setStandardErrorFile(launch.outputFile, QIODevice::Append);
    }
    if (launch.forwardInput)
        process.setInputChannelMode(QProcess::ForwardedInputChannel);
    else
        process.setStandardInputFile(QProcess::nullDevice());
    if (launch.inChild)
        process.setChildProcessModifier(launch.inChild);
}

} // namespace

std::optional<int> run(const Launch &launch, QString *why)
{
    QProcess process;
    prepare(process, launch);
    process.start();
    if (!process.waitForFinished(-1) && process.error() == QProcess::FailedToStart) {
        if (why)
            *why = process.errorString();
        return std::nullopt;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 1;
}

bool startDetached(const Launch &launch)
{
    QProcess process;
    prepare(process, launch);
    return process.startDetached();
}

} // namespace ChildTool
