#include "model/ShellQuote.h"

#include <algorithm>

static bool isShellSafe(QChar c)
{
    return c.unicode() < 128 && (c.isLetterOrNumber() || QStringLiteral("/._-+:,=@%").contains(c));
}

QString shellQuoted(const QString &text)
{
    // zsh replaces a word that starts with "=" by the path of the command it names ("=ls" is
    // "/usr/bin/ls"), so such a word is quoted even though "=" is plain anywhere else.
    if (!text.isEmpty() && !text.startsWith(u'=') &&
        std::all_of(text.begin(), text.end(), isShellSafe))
        return text;
    return shellSingleQuoted(text);
}

QString shellSingleQuoted(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString shellDoubleQuoted(const QString &text)
{
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += u'"';
    for (const QChar c : text) {
        if (c == u'$' || c == u'`' || c == u'"' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    return quoted;
}
