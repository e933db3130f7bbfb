#include "media/InstallMediaFailure.h"

#include "exec/ScriptEngine.h"

#include <QCoreApplication>

QString installMediaFailure(const InstallMediaOutput &output,
                            const std::optional<QString> &runnerError, const QString &fallback)
{
    if (runnerError) {
        const ScriptOutcome wrapped = scriptFailureFromOsascript(*runnerError);
        if (wrapped.errorMessage && wrapped.errorNumber) {
            InstallMediaOutput unwrapped;
            unwrapped.read(InstallMediaOutput::Stream::error, *wrapped.errorMessage);
            const QString said = unwrapped.failure();
            return said.isEmpty() ? *wrapped.errorMessage : said;
        }
        // The runner's own account: the prompt refused, a time-out, a launch failure.
        return *runnerError;
    }
    const QString said = output.failure();
    return said.isEmpty() ? fallback : said;
}

QString cancelledInstallMediaMessage(const InstallMediaOutput &output, const QString &volumeName)
{
    // The tool says "Erasing disk" as it begins; before that line the volume is as it was.
    if (output.phase() == InstallMediaOutput::Phase::starting)
        return QCoreApplication::translate("InstallMediaFailure", "Cancelled. Nothing was erased.");
    //: %1 is the name of the volume the cancelled run was writing.
    return QCoreApplication::translate("InstallMediaFailure",
                                       "%1 was erased and is incomplete: erase it or make it again")
        .arg(volumeName);
}
