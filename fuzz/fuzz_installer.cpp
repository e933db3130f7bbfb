// The installer tool's answer to a package installation, as the administrator prompt's osascript
// hands it back and the installation workflow reads it. The first byte is the exit status; the
// rest is standard output, 0xFF, then standard error.

#include "FuzzInput.h"

#include "exec/AppleScriptHelper.h"
#include "exec/ScriptEngine.h"
#include "model/InstallerToolAnswer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int exitStatus = data[0];
    const QByteArrayList streams = piecesOf(data + 1, size - 1);
    const AppleScriptHelper::Result result = AppleScriptHelper::resultOf(
        scriptOutcomeFromOsascript(exitStatus, streams.value(0), streams.value(1)));
    const std::optional<QString> failure = packageInstallationFailure(result.status, result.output);
    // Only an installer that succeeded lets the workflow go on to look for the new application.
    FUZZ_EXPECT(failure.has_value() == (exitStatus != 0));
    FUZZ_EXPECT(!failure || failure->endsWith(result.output));
    return 0;
}
