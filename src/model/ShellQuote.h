#pragma once

#include <QString>

// Makes a text safe to place in a POSIX shell command line as one word. Texts made only of
// characters the shell never interprets (letters, digits and "/._-+:,=@%") come back unchanged,
// so ordinary paths read as they would typed by hand; anything else is wrapped in single quotes.
QString shellQuoted(const QString &text);
