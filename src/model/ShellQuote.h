#pragma once

#include <QString>
#include <QStringList>

// Ways to place a text in a POSIX shell command line as one word that the shell hands over
// unchanged, whatever characters it holds. Only single quotes are used: inside them no character
// is special, so no byte of a name can pair with an escaping backslash in a multi-byte locale
// (GBK, Big5, Shift JIS) and undo the quoting.

// Texts made only of characters the shell never interprets (letters, digits and "/._-+:,=@%")
// come back unchanged, so ordinary paths read as they would typed by hand; anything else is
// wrapped in single quotes. So is a text that starts with "=", which zsh would expand to a
// command's path ("~" and "#", which bash and sh treat specially at the start, are never left
// bare at all).
QString shellQuoted(const QString &text);

// Always in single quotes, as 'text'; a single quote inside becomes '\''.
QString shellSingleQuoted(const QString &text);

// The words as one command line, each quoted by shellQuoted().
QString shellCommand(const QStringList &words);
