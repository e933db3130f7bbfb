// An installer bundle's Contents/Info.plist, XML or binary, read the way the installer list
// reads it.

#include "FuzzInput.h"

#include "model/InstallerApp.h"
#include "propertylist/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto info = readPropertyListDictionary(
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!info)
        return 0;
    const auto installer = InstallerApp::fromInfo(*info);
    if (!installer)
        return 0;
    FUZZ_EXPECT(installer->sortableVersion.size() == 4);
    FUZZ_EXPECT(!(*installer < *installer));
    (void)installer->createinstallmediaCommand(QStringLiteral("/Volumes/UNTITLED"));
    return 0;
}
