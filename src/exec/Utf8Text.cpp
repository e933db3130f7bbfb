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

std::optional<QString> Utf8ChunkDecoder::decode(const QByteArray &chunk)
{
    // Most chunks carry nothing over: they are decoded where they lie, without a copy.
    const QByteArray bytes = m_carried.isEmpty() ? chunk : m_carried + chunk;
    const qsizetype tail = unfinishedTailLength(bytes);
    const auto text = decodeUtf8(QByteArrayView(bytes).chopped(tail));
    m_carried = text ? bytes.right(tail) : QByteArray();
    return text;
}
