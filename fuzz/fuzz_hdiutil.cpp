// hdiutil's answer to attach, create, convert or detach, read the way the disk image steps read
// it: standard output in pieces cut at 0xFF bytes, the last piece its standard error.

#include "FuzzInput.h"

#include "model/HdiutilOutput.h"
#include "model/Utf8Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArrayList pieces = piecesOf(data, size);
    const QByteArray standardError = pieces.takeLast();

    const QString prefix = QStringLiteral("Converting: ");
    Utf8ChunkDecoder decoder;
    QByteArray shown;
    for (const QByteArray &piece : pieces) {
        const QString text = decoder.decode(piece);
        shown += text.toUtf8();
        if (!text.isEmpty())
            FUZZ_EXPECT(hdiutilProgressMessage(prefix, text).startsWith(prefix));
    }
    shown += decoder.finish();
    // Output that is text as a whole reaches the user whole, wherever the pipe cut it. (Where a
    // cut falls inside a bad byte sequence, the pieces may show it as more replacement
    // characters than the whole would.)
    const QByteArray joined = pieces.join();
    if (QByteArrayView(joined).isValidUtf8())
        FUZZ_EXPECT(shown == joined);

    // The tool's words are kept, however few: nothing is dropped for a bad byte.
    const QString reason = hdiutilFailureReason(standardError);
    FUZZ_EXPECT(reason.isEmpty() == standardError.isEmpty());
    if (QByteArrayView(standardError).isValidUtf8())
        FUZZ_EXPECT(reason.toUtf8() == standardError);
    return 0;
}
