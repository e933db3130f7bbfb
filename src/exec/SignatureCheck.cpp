#include "exec/SignatureCheck.h"

#include "exec/ChildProcess.h"
#include "host/Host.h"
#include "model/Timing.h"

#include <QCoreApplication>

#include <optional>

namespace {

struct Answer {
    std::optional<QString> failure; // codesign could not be run or did not finish in time
    int status = 0;
    QByteArray error;
};

Answer askCodesign(const QStringList &arguments)
{
    ChildProcess codesign(Host::current().codesign(), arguments);
    if (!codesign.start())
        //: %1 is the system's reason
        return {QCoreApplication::translate("SignatureCheck", "codesign could not be run: %1")
                    .arg(codesign.errorString()),
                0,
                {}};
    const Timing::Duration limit = Timing::current().signatureCheckLimit;
    if (!codesign.waitForExit(limit))
        //: %1 is a time limit such as “15 minutes”
        return {QCoreApplication::translate("SignatureCheck", "codesign did not finish within %1")
                    .arg(Timing::describe(limit)),
                0,
                {}};
    return {std::nullopt, codesign.exitStatus(), codesign.readRemainingError()};
}

} // namespace

CodeSignature verifyAppleSignature(const QString &bundlePath)
{
    // "-R=…" is codesign's short option with its argument attached; the leading "=" marks the
    // requirement as text rather than the path of a compiled one.
    const Answer verified = askCodesign({QStringLiteral("--verify"), QStringLiteral("--strict"),
                                         QStringLiteral("-R=anchor apple"), bundlePath});
    if (verified.failure)
        return CodeSignature::failed(*verified.failure);
    const CodeSignature signature =
        CodeSignature::fromCodesign(verified.status, verified.error, bundlePath);
    if (signature.state != CodeSignature::State::appleExpired)
        return signature;
    // An expired certificate stops codesign before it checks whose it is: the chain tells.
    const Answer shown =
        askCodesign({QStringLiteral("--display"), QStringLiteral("--verbose=2"), bundlePath});
    if (shown.failure)
        return CodeSignature::failed(*shown.failure);
    return CodeSignature::fromExpiredChain(signature, shown.error);
}
