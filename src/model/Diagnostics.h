#pragma once

#include <QString>

// Prints one diagnostic line to standard output and flushes it at once, so that a person or a
// tool reading through a pipe sees each line as it happens. Safe to call from any thread: lines
// from different threads never interleave.
void printDiagnostic(const QString &line);
