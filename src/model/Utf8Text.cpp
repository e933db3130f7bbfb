#include "model/Utf8Text.h"

#include <QStringDecoder>

#include <algorithm>

#include <utility>

QString decodeUtf8(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}

qsizetype unfinishedTailLength(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= std::min<qsizetype>(3, size); ++back) {
        const auto byte = uchar(bytes.at(size - back));
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

QByteArray Utf8ChunkDecoder::completeCharacters(const QByteArray &chunk)
{
    // Most chunks carry nothing over and are valid: they are handed back as they are, without a
    // copy.
    QByteArray bytes = m_carried.isEmpty() ? chunk : m_carried + chunk;
    const qsizetype tail = unfinishedTailLength(bytes);
    m_carried = bytes.right(tail);
    bytes.chop(tail);
    if (QByteArrayView(bytes).isValidUtf8())
        return bytes;
    return QString::fromUtf8(bytes).toUtf8();
}

QString Utf8ChunkDecoder::decode(const QByteArray &chunk)
{
    return QString::fromUtf8(completeCharacters(chunk));
}

QByteArray Utf8ChunkDecoder::finish()
{
    const QByteArray rest = std::exchange(m_carried, QByteArray());
    return rest.isEmpty() ? rest : QString::fromUtf8(rest).toUtf8();
}
