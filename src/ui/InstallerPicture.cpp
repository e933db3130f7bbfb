#include "ui/InstallerPicture.h"

#include "ui/NamedColors.h"
#include "ui/Symbols.h"

QIcon installerPicture(const QIcon &installerIcon)
{
    if (!installerIcon.actualSize(QSize(256, 256)).isEmpty())
        return installerIcon;
    return symbolIcon(QStringLiteral("app"), NamedColors::gray());
}
