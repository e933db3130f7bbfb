#include "model/HdiutilOutput.h"

#include "exec/Utf8Text.h"

QString hdiutilProgressMessage(const QString &prefix, const QString &piece)
{
    return prefix + piece.trimmed();
}

QString hdiutilFailureReason(QByteArrayView standardError)
{
    return decodeUtf8(standardError);
}
