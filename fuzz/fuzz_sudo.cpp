// sudo's standard error on the terminal path, in pieces cut at 0xFF bytes, decoded and checked
// for a wrong password piece by piece, the way the terminal path reads it.

#include "FuzzInput.h"

#include "model/SudoPasswordCheck.h"
#include "model/Utf8Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayList pieces = piecesOf(data, size);
    Utf8ChunkDecoder decoder;
    QString whole;
    bool rejected = false;
    for (const QByteArray &piece : pieces) {
        const QString chunk = decoder.decode(piece);
        if (chunk.isEmpty())
            continue;
        whole += chunk;
        rejected = sudoRejectedPassword(chunk) || rejected;
    }
    // A refusal seen in a piece is still one in everything the user is shown.
    FUZZ_EXPECT(!rejected || sudoRejectedPassword(whole));
    return 0;
}
