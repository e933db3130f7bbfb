#include "World.h"
#include "tools/Tools.h"

int runOsascript(const World &, const QStringList &)
{
    return Tools::notAvailable(QStringLiteral("osascript"));
}
