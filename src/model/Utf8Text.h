#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

// The whole of `bytes` as UTF-8 text; a byte sequence that is not valid UTF-8 becomes the
// replacement character, so nothing a tool said is lost for one bad byte.
QString decodeUtf8(QByteArrayView bytes);

// How many bytes at the end of `bytes` begin a UTF-8 character that a cut left unfinished.
qsizetype unfinishedTailLength(QByteArrayView bytes);

// Decodes a stream that arrives in chunks. A character whose bytes are split between two chunks
// is carried over to the next chunk instead of making both invalid; a truly invalid sequence
// becomes the replacement character.
class Utf8ChunkDecoder {
public:
    QString decode(const QByteArray &chunk);
    // The same, but the complete characters are handed back as valid UTF-8 bytes, for a caller
    // that prints or collects them before (or instead of) decoding.
    QByteArray completeCharacters(const QByteArray &chunk);
    // The end of the stream: the bytes of a character it left unfinished, as the replacement
    // character (empty when there are none).
    QByteArray finish();

private:
    QByteArray m_carried;
};
