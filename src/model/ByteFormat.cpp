#include "model/ByteFormat.h"

#include <QLocale>

QString formatGigabytes(qint64 bytes)
{
    return QLocale().toString(double(bytes) / 1e9, 'f', 2) + QStringLiteral(" GB");
}
