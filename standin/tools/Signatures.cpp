#include "tools/Signatures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString signaturePath(const QString &appPath)
{
    return appPath + QStringLiteral("/Contents/_CodeSignature/CodeResources");
}

} // namespace

namespace Signatures {

bool sign(const QString &appPath, const QString &signer, QString *error)
{
    const QString path = signaturePath(appPath);
    if (signer == QLatin1String(notSigned)) {
        QFile::remove(path);
        return true;
    }
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    const QByteArray line = QJsonDocument(QJsonObject{{QStringLiteral("standinSigner"), signer}})
                                .toJson(QJsonDocument::Compact) +
                            '\n';
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(line) == line.size())
        return true;
    if (error)
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

QString signerOf(const QString &appPath)
{
    QFile file(signaturePath(appPath));
    if (!file.exists())
        return QLatin1String(notSigned);
    if (!file.open(QIODevice::ReadOnly))
        return QLatin1String(tampered);
    const QString signer =
        QJsonDocument::fromJson(file.read(4096)).object().value(u"standinSigner").toString();
    for (const char *known : {apple, expired, tampered, other, expiredOther})
        if (signer == QLatin1String(known))
            return signer;
    return QLatin1String(tampered);
}

} // namespace Signatures
