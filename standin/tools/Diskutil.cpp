#include "World.h"
#include "tools/Tools.h"

int runDiskutil(const World &, const QStringList &)
{
    return Tools::notAvailable(QStringLiteral("diskutil"));
}
