#include "exec/SignatureCheck.h"

#include "exec/ChildProcess.h"
#include "host/Host.h"
#include "model/Timing.h"

CodeSignature verifyAppleSignature(const QString &bundlePath)
{
    // "-R=…" is codesign's short option with its argument attached; the leading "=" marks the
    // requirement as text rather than the path of a compiled one.
    ChildProcess codesign(Host::current().codesign(),
                          {QStringLiteral("--verify"), QStringLiteral("--strict"),
                           QStringLiteral("-R=anchor apple"), bundlePath});
    if (!codesign.start())
        return CodeSignature::failed(QStringLiteral("codesign could not be run: ") +
                                     codesign.errorString());
    const Timing::Duration limit = Timing::current().signatureCheckLimit;
    if (!codesign.waitForExit(limit))
        return CodeSignature::failed(QStringLiteral("codesign did not finish within ") +
                                     Timing::describe(limit));
    return CodeSignature::fromCodesign(codesign.exitStatus(), codesign.readRemainingError(),
                                       bundlePath);
}
