#pragma once

#include <QByteArrayView>
#include <QString>

// Prints one diagnostic line to standard output and flushes it at once, so that a person or a
// tool reading through a pipe sees each line as it happens. Safe to call from any thread: lines
// from different threads never interleave. Line breaks, other control characters and the
// bidirectional overrides are printed as escapes (\n, \x1B, \u202E), so that text from a name or
// a tool can neither start a line of its own nor drive the terminal showing it.
void printDiagnostic(const QString &line);

// The same for a line given as a prefix and UTF-8 bytes, printed as they are: long tool output
// is not decoded and encoded again just to be shown.
void printDiagnostic(QByteArrayView prefix, QByteArrayView utf8Text);

// Sends the diagnostic lines to standard error from now on, for a program whose standard output
// is its answer. Called before any other thread prints.
void routeDiagnosticsToStandardError();
