// createinstallmedia's standard output, arriving in pieces cut at 0xFF bytes, read by each of
// the three runs that start it: the USB engine (streamed through the administrator prompt), the
// terminal path (streamed through sudo) and the disk image engine (read whole at the end).

#include "FuzzInput.h"

#include "exec/Utf8Text.h"
#include "media/DMGCreator.h"
#include "media/USBRun.h"
#include "model/InstallMediaOutputLine.h"
#include "model/ProgressInfo.h"

namespace {

void readAsUsbEngine(const QByteArrayList &pieces)
{
    UsbRun run;
    run.report = [](const ProgressInfo &) {};
    run.progress.setupSteps(ProgressInfo::OperationType::usbCreation);
    run.progress.updateCurrentStep(1);
    Utf8ChunkDecoder decoder;
    for (const QByteArray &piece : pieces) {
        const QByteArray bytes = decoder.completeCharacters(piece);
        if (!bytes.isEmpty())
            handleInstallMediaOutput(run, QString::fromUtf8(bytes));
        FUZZ_EXPECT(run.progress.currentStep >= 0 &&
                    run.progress.currentStep < run.progress.steps.size());
    }
}

void readAsTerminalPath(const QByteArrayList &pieces)
{
    ProgressInfo progress;
    InstallMediaOutputLine line;
    Utf8ChunkDecoder decoder;
    for (const QByteArray &piece : pieces) {
        const QString text = decoder.decode(piece);
        if (!text.isEmpty())
            progress.parseTerminalOutput(line.readable(text));
    }
}

void readAsDiskImageEngine(const QByteArrayList &pieces)
{
    constexpr double reached = 15;
    const QString output = decodeUtf8(pieces.join());
    double latest = reached;
    for (const DMGCreator::ToolReport &report : DMGCreator::readToolOutput(output, reached)) {
        if (!report.progress)
            continue;
        // The bar only moves forward.
        FUZZ_EXPECT(*report.progress >= latest);
        latest = *report.progress;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayList pieces = piecesOf(data, size);
    readAsUsbEngine(pieces);
    readAsTerminalPath(pieces);
    readAsDiskImageEngine(pieces);
    return 0;
}
