#include "model/ElapsedTime.h"

QString formatElapsed(std::chrono::milliseconds elapsed)
{
    const qint64 seconds = std::max<qint64>(0, (elapsed.count() + 500) / 1000);
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    if (seconds < 3600)
        return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
    return QStringLiteral("%1 h %2 min")
        .arg(seconds / 3600)
        .arg((seconds % 3600) / 60, 2, 10, QLatin1Char('0'));
}
