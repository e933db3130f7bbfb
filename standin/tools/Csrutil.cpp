#include "World.h"
#include "tools/Tools.h"

int runCsrutil(const World &, const QStringList &)
{
    return Tools::notAvailable(QStringLiteral("csrutil"));
}
