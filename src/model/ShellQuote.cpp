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

QString shellCommand(const QStringList &words)
{
    QStringList quoted;
    quoted.reserve(words.size());
    for (const QString &word : words)
        quoted << shellQuoted(word);
    return quoted.join(u' ');
}
