#include "model/Diagnostics.h"

#include <QByteArray>

#include <atomic>
#include <cstdio>
#include <mutex>

namespace {

std::mutex outputLock;
std::atomic<std::FILE *> diagnosticStream{stdout};

// An empty view may have no data at all, and fwrite must never be handed a null pointer.
void writeBytes(QByteArrayView bytes)
{
    if (!bytes.isEmpty())
        std::fwrite(bytes.data(), 1, size_t(bytes.size()), diagnosticStream.load());
}

// How many bytes at `at` make a character that must not reach the log as it is: C0 and C1
// controls and DEL (a name could start a forged line of its own or drive the terminal showing the
// log) and the bidirectional overrides and isolates (which reorder what follows them). Nothing
// else is touched, so ordinary text and invalid bytes pass unchanged.
qsizetype unprintableLength(QByteArrayView text, qsizetype at)
{
    const auto byte = uchar(text[at]);
    if (byte < 0x20 || byte == 0x7F)
        return 1;
    const qsizetype left = text.size() - at;
    if (byte == 0xC2 && left >= 2 && uchar(text[at + 1]) >= 0x80 && uchar(text[at + 1]) <= 0x9F)
        return 2;
    if (byte == 0xE2 && left >= 3) {
        const auto second = uchar(text[at + 1]);
        const auto third = uchar(text[at + 2]);
        if ((second == 0x80 && third >= 0xAA && third <= 0xAE) ||
            (second == 0x81 && third >= 0xA6 && third <= 0xA9))
            return 3;
    }
    return 0;
}

QByteArray escaped(QByteArrayView character)
{
    switch (character.front()) {
    case '\n':
        return QByteArrayLiteral("\\n");
    case '\r':
        return QByteArrayLiteral("\\r");
    case '\t':
        return QByteArrayLiteral("\\t");
    default:
        break;
    }
    if (character.size() == 1)
        return QByteArrayLiteral("\\x") +
               QByteArray::number(uchar(character.front()), 16).rightJustified(2, '0').toUpper();
    const QString decoded = QString::fromUtf8(character);
    return QByteArrayLiteral("\\u") +
           QByteArray::number(decoded.front().unicode(), 16).rightJustified(4, '0').toUpper();
}

// Long tool output seldom holds such a character: then it is written as it is, without a copy.
void writeEscaped(QByteArrayView text)
{
    qsizetype written = 0;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = unprintableLength(text, at);
        if (length == 0) {
            ++at;
            continue;
        }
        writeBytes(text.sliced(written, at - written));
        writeBytes(escaped(text.sliced(at, length)));
        at += length;
        written = at;
    }
    writeBytes(text.sliced(written));
}

void writeLine(QByteArrayView prefix, QByteArrayView text)
{
    std::lock_guard guard(outputLock);
    writeEscaped(prefix);
    writeEscaped(text);
    std::fputc('\n', diagnosticStream.load());
    std::fflush(diagnosticStream.load());
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

void routeDiagnosticsToStandardError()
{
    diagnosticStream = stderr;
}
