#pragma once

#include <QByteArrayView>
#include <QString>

// Prints one diagnostic line to standard output and flushes it at once, so that a person or a
// tool reading through a pipe sees each line as it happens. Safe to call from any thread: lines
// from different threads never interleave.
void printDiagnostic(const QString &line);

// The same for a line given as a prefix and UTF-8 bytes, printed as they are: long tool output
// is not decoded and encoded again just to be shown.
void printDiagnostic(QByteArrayView prefix, QByteArrayView utf8Text);
