#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The whole of `bytes` as UTF-8 text; nothing when any byte sequence in it is not valid UTF-8.
std::optional<QString> decodeUtf8(QByteArrayView bytes);

// One text from pieces that each hold complete, valid UTF-8 characters, decoded straight into
// a text of the right size.
QString decodeUtf8Pieces(const QByteArrayList &pieces);

// Decodes a stream that arrives in chunks. A character whose bytes are split between two chunks
// is carried over to the next chunk instead of making both invalid; a chunk with a truly invalid
// sequence decodes to nothing and is dropped on its own.
class Utf8ChunkDecoder {
public:
    std::optional<QString> decode(const QByteArray &chunk);
    // The same, but the complete characters are handed back as their valid UTF-8 bytes, for a
    // caller that prints or collects them before (or instead of) decoding.
    std::optional<QByteArray> completeCharacters(const QByteArray &chunk);
    // Bytes of an unfinished character at the very end of the stream, if any.
    bool hasUnfinishedCharacter() const { return !m_carried.isEmpty(); }

private:
    QByteArray m_carried;
};
