#include "model/Diagnostics.h"

#include <cstdio>
#include <mutex>

void printDiagnostic(const QString &line)
{
    static std::mutex outputLock;
    // Appended in place: the encoded text usually has room to spare, so a long line is not
    // copied again just to end it.
    QByteArray bytes = line.toUtf8();
    bytes.append('\n');
    std::lock_guard guard(outputLock);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
