#include "model/ElapsedTime.h"

#include <QCoreApplication>

QString formatElapsed(std::chrono::milliseconds elapsed)
{
    const qint64 seconds = std::max<qint64>(0, (elapsed.count() + 500) / 1000);
    if (seconds < 60)
        //: A time taken: %1 seconds
        return QCoreApplication::translate("ElapsedTime", "%1 s").arg(QString::number(seconds));
    if (seconds < 3600)
        //: A time taken: %1 minutes and %2 seconds
        return QCoreApplication::translate("ElapsedTime", "%1 min %2 s")
            .arg(QString::number(seconds / 60), QString::number(seconds % 60));
    //: A time taken: %1 hours and %2 minutes, the minutes always in two digits
    return QCoreApplication::translate("ElapsedTime", "%1 h %2 min")
        .arg(QString::number(seconds / 3600),
             QString::number((seconds % 3600) / 60).rightJustified(2, u'0'));
}
