#include "model/CodeSignature.h"

#include <QStringList>

namespace {

// The trust engine's code for a signing certificate past its end date. Apple's older installers
// carry one; their seal still holds, which is all codesign reports it for.
constexpr QLatin1StringView expiredCertificate("CSSMERR_TP_CERT_EXPIRED");

// codesign starts each line about a file with "PATH: "; the reason reads better without it.
QString withoutPath(const QString &line, const QString &bundlePath)
{
    const QString prefix = bundlePath + QStringLiteral(": ");
    return line.startsWith(prefix) ? line.mid(prefix.size()) : line;
}

} // namespace

CodeSignature CodeSignature::fromCodesign(int exitStatus, const QByteArray &standardError,
                                          const QString &bundlePath)
{
    if (exitStatus == 0)
        return {State::apple, {}};
    const QStringList lines = QString::fromUtf8(standardError).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        if (line.contains(expiredCertificate))
            return {State::appleExpired, withoutPath(line.trimmed(), bundlePath)};
    }
    if (lines.isEmpty())
        return failed(tr("codesign exited with status %1").arg(QString::number(exitStatus)));
    return failed(withoutPath(lines.first().trimmed(), bundlePath));
}

CodeSignature CodeSignature::fromExpiredChain(const CodeSignature &expired,
                                              const QByteArray &displayError)
{
    static const QStringList applesChain{
        QStringLiteral("Software Signing"),
        QStringLiteral("Apple Code Signing Certification Authority"),
        QStringLiteral("Apple Root CA")};
    QStringList chain;
    for (const QString &line : QString::fromUtf8(displayError).split(u'\n')) {
        if (line.startsWith(QLatin1String("Authority=")))
            chain << line.mid(10).trimmed();
    }
    if (chain == applesChain)
        return expired;
    //: %1 lists the certificates' names, or says that none were shown
    return failed(tr("signed with an expired certificate that is not Apple's (%1)")
                      .arg(chain.isEmpty() ? tr("no certificate chain shown")
                                           : chain.join(QStringLiteral(", "))));
}
