#include "exec/Utf8Text.h"

#include <QStringDecoder>

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString decodeUtf8Pieces(const QByteArrayList &pieces)
{
    qsizetype bytes = 0;
    for (const QByteArray &piece : pieces)
        bytes += piece.size();
    // A UTF-8 byte never becomes more than one UTF-16 unit.
    QString text(bytes, Qt::Uninitialized);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QChar *end = text.data();
    for (const QByteArray &piece : pieces)
        end = decoder.appendToBuffer(end, piece);
    text.truncate(end - text.constData());
    return text;
}

namespace {

// How many bytes at the end of `bytes` begin a multi-byte character that is not complete yet.
qsizetype unfinishedTailLength(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= std::min<qsizetype>(3, size); ++back) {
        const auto byte = uchar(bytes[size - back]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead byte
        const qsizetype needed = (byte & 0xE0) == 0xC0   ? 2
                                 : (byte & 0xF0) == 0xE0 ? 3
                                 : (byte & 0xF8) == 0xF0 ? 4
                                                         : 1;
        return needed > back ? back : 0;
    }
    return 0;
}

} // namespace

std::optional<QByteArray> Utf8ChunkDecoder::completeCharacters(const QByteArray &chunk)
{
    // Most chunks carry nothing over: they are handed back as they are, without a copy.
    QByteArray bytes = m_carried.isEmpty() ? chunk : m_carried + chunk;
    const qsizetype tail = unfinishedTailLength(bytes);
    const bool valid = QByteArrayView(bytes).chopped(tail).isValidUtf8();
    m_carried = valid ? bytes.right(tail) : QByteArray();
    if (!valid)
        return std::nullopt;
    bytes.chop(tail);
    return bytes;
}

std::optional<QString> Utf8ChunkDecoder::decode(const QByteArray &chunk)
{
    const auto bytes = completeCharacters(chunk);
    return bytes ? std::optional(QString::fromUtf8(*bytes)) : std::nullopt;
}
