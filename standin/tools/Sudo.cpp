#include "World.h"
#include "tools/Tools.h"

int runSudo(const World &, const QStringList &)
{
    return Tools::notAvailable(QStringLiteral("sudo"));
}
