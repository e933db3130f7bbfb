// hdiutil's answer to attach, create, convert or detach, read the way the disk image steps read
// it: standard output in pieces cut at 0xFF bytes, the last piece its standard error.

#include "FuzzInput.h"

#include "exec/Utf8Text.h"
#include "model/HdiutilOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArrayList pieces = piecesOf(data, size);
    const QByteArray standardError = pieces.takeLast();

    const QString prefix = QStringLiteral("Converting: ");
    Utf8ChunkDecoder decoder;
    QString shown;
    for (const QByteArray &piece : pieces) {
        const std::optional<QString> text = decoder.decode(piece);
        if (!text)
            continue;
        shown += *text;
        if (!text->isEmpty())
            FUZZ_EXPECT(hdiutilProgressMessage(prefix, *text).startsWith(prefix));
    }
    // Output that is text as a whole reaches the user whole, wherever the pipe cut it.
    if (const auto whole = decodeUtf8(pieces.join()))
        FUZZ_EXPECT(shown == *whole && !decoder.hasUnfinishedCharacter());

    const QString reason = hdiutilFailureReason(decodeUtf8(standardError));
    FUZZ_EXPECT(!reason.isEmpty() || standardError.isEmpty());
    return 0;
}
