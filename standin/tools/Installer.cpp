#include "World.h"
#include "tools/Tools.h"

int runInstaller(const World &, const QStringList &)
{
    return Tools::notAvailable(QStringLiteral("installer"));
}
