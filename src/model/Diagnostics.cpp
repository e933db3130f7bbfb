#include "model/Diagnostics.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex outputLock;

// An empty view may have no data at all, and fwrite must never be handed a null pointer.
void writeBytes(QByteArrayView bytes)
{
    if (!bytes.isEmpty())
        std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
}

void writeLine(QByteArrayView prefix, QByteArrayView text)
{
    std::lock_guard guard(outputLock);
    writeBytes(prefix);
    writeBytes(text);
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
