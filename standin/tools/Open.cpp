#include "World.h"
#include "tools/Tools.h"

int runOpen(const World &, const QStringList &)
{
    return Tools::notAvailable(QStringLiteral("open"));
}
