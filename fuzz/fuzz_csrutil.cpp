// `csrutil status` output, read the way the protection check reads it.

#include "FuzzInput.h"

#include "disk/DiskUtility.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    (void)DiskUtility::statusSaysProtectionEnabled(
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
