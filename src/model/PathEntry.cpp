#include "model/PathEntry.h"

QString asPathEntry(const QString &name)
{
    QString entry = name;
    entry.replace(u'/', u':').replace(QChar(0), u'_');
    if (entry.isEmpty() || entry == QLatin1String(".") || entry == QLatin1String(".."))
        entry.prepend(u'_');
    return entry;
}
