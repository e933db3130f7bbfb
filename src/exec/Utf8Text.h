#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The whole of `bytes` as UTF-8 text; nothing when any byte sequence in it is not valid UTF-8.
std::optional<QString> decodeUtf8(QByteArrayView bytes);

// Decodes a stream that arrives in chunks. A character whose bytes are split between two chunks
// is carried over to the next chunk instead of making both invalid; a chunk with a truly invalid
// sequence decodes to nothing and is dropped on its own.
class Utf8ChunkDecoder {
public:
    std::optional<QString> decode(const QByteArray &chunk);
    // Bytes of an unfinished character at the very end of the stream, if any.
    bool hasUnfinishedCharacter() const { return !m_carried.isEmpty(); }

private:
    QByteArray m_carried;
};
