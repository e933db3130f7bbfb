// createinstallmedia's two streams, arriving in pieces cut at 0xFF bytes (each piece going to
// standard output or standard error by its first byte), read as the USB engine reads them while
// the tool runs. fuzz_createinstallmedia_image reads the same output whole, as the disk image
// engine does.

#include "FuzzInput.h"

#include "media/InstallMediaFailure.h"
#include "media/USBRun.h"
#include "model/InstallMediaOutput.h"
#include "model/Utf8Text.h"

namespace {

using Stream = InstallMediaOutput::Stream;

Stream streamOf(const QByteArray &piece)
{
    return !piece.isEmpty() && (piece.front() & 1) ? Stream::error : Stream::output;
}

void readAsUsbEngine(const QByteArrayList &pieces)
{
    UsbRun run;
    run.report = [](const ProgressInfo &) {};
    run.progress.setupSteps(ProgressInfo::OperationType::usbCreation);
    run.progress.currentStep = 0;
    Utf8ChunkDecoder outputDecoder;
    Utf8ChunkDecoder errorDecoder;
    double latest = 0;
    for (const QByteArray &piece : pieces) {
        const Stream stream = streamOf(piece);
        Utf8ChunkDecoder &decoder = stream == Stream::error ? errorDecoder : outputDecoder;
        const QByteArray bytes = decoder.completeCharacters(piece);
        if (!bytes.isEmpty())
            handleInstallMediaOutput(run, stream, QString::fromUtf8(bytes));
        const ProgressInfo &progress = run.progress;
        FUZZ_EXPECT(progress.hasCurrentStep());
        // The bar only moves forward, and nothing printed completes the run.
        FUZZ_EXPECT(progress.percentage >= latest && progress.percentage < 100);
        FUZZ_EXPECT(!progress.isComplete);
        latest = progress.percentage;
        const std::optional<double> percent = run.output.percent();
        FUZZ_EXPECT(!percent || (*percent >= 0 && *percent <= 100));
    }
    (void)installMediaFailure(run.output, std::nullopt, {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayList pieces = piecesOf(data, size);
    readAsUsbEngine(pieces);
    return 0;
}
