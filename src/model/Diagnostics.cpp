#include "model/Diagnostics.h"

#include <cstdio>
#include <mutex>

void printDiagnostic(const QString &line)
{
    static std::mutex outputLock;
    const QByteArray bytes = line.toUtf8() + '\n';
    std::lock_guard guard(outputLock);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
