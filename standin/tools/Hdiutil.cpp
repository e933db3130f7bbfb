#include "World.h"
#include "tools/Tools.h"

int runHdiutil(const World &, const QStringList &)
{
    return Tools::notAvailable(QStringLiteral("hdiutil"));
}
