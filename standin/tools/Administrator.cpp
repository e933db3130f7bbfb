#include "tools/Administrator.h"

#include "World.h"

#include <QFileInfo>

namespace Administrator {

QByteArray mark(const World &world)
{
    // Canonical, so a tool that found the world by another path still recognises the mark.
    return QFileInfo(world.root()).canonicalFilePath().toUtf8();
}

bool isActing(const World &world)
{
    const QByteArray value = qgetenv(variable);
    return !value.isEmpty() && value == mark(world);
}

} // namespace Administrator
