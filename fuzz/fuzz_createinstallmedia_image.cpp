// createinstallmedia's whole output as the disk image engine reads it at the end of the run, and
// osascript's error line around it when the run failed.

#include "FuzzInput.h"

#include "media/DMGCreator.h"
#include "media/InstallMediaFailure.h"
#include "model/Utf8Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    constexpr double reached = 15;
    const QString output =
        decodeUtf8(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    double latest = reached;
    for (const DMGCreator::ToolReport &report : DMGCreator::readToolOutput(output, reached)) {
        if (!report.progress)
            continue;
        // The bar only moves forward, and the tool's exit takes it the rest of the way.
        FUZZ_EXPECT(*report.progress >= latest && *report.progress < 95);
        latest = *report.progress;
    }
    (void)installMediaFailure(InstallMediaOutput(), output, {});
    return 0;
}
