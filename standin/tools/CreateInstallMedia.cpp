#include "World.h"
#include "tools/Tools.h"

int runCreateInstallMedia(const World &, const QStringList &)
{
    return Tools::notAvailable(QStringLiteral("createinstallmedia"));
}
