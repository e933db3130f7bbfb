// An osascript answer, read the way the script engine and AppleScriptHelper read it. The first
// byte is the exit status; the rest is standard output, 0xFF, then standard error.

#include "FuzzInput.h"

#include "exec/AdministratorRights.h"
#include "exec/AppleScriptHelper.h"
#include "exec/ScriptEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int exitStatus = data[0];
    const QByteArrayList streams = piecesOf(data + 1, size - 1);
    const QByteArray output = streams.value(0);
    const QByteArray error = streams.value(1);

    const ScriptOutcome outcome = scriptOutcomeFromOsascript(exitStatus, output, error);
    FUZZ_EXPECT(outcome.result.has_value() == (exitStatus == 0));
    // Status 0 means the script succeeded; any other answer must not read as success.
    const AppleScriptHelper::Result result = AppleScriptHelper::resultOf(outcome);
    FUZZ_EXPECT((result.status == 0) == outcome.result.has_value());
    (void)AdministratorRights::promptRefused(result.output);
    (void)result.diagnosticText();
    return 0;
}
