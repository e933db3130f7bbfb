#include "model/Diagnostics.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex outputLock;

void writeLine(QByteArrayView prefix, QByteArrayView text)
{
    std::lock_guard guard(outputLock);
    std::fwrite(prefix.data(), 1, size_t(prefix.size()), stdout);
    std::fwrite(text.data(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

void printDiagnostic(const QString &line)
{
    writeLine({}, line.toUtf8());
}

void printDiagnostic(QByteArrayView prefix, QByteArrayView utf8Text)
{
    writeLine(prefix, utf8Text);
}
