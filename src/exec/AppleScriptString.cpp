#include "exec/AppleScriptString.h"

QString appleScriptString(const QString &text)
{
    QString literal;
    literal.reserve(text.size() + 2);
    literal += u'"';
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            literal += u'\\';
        literal += c;
    }
    literal += u'"';
    return literal;
}
