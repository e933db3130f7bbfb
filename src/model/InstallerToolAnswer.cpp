#include "model/InstallerToolAnswer.h"

#include <QCoreApplication>

std::optional<QString> packageInstallationFailure(int status, const QString &output)
{
    if (status == 0)
        return std::nullopt;
    //: %1 is what the package installer or the administrator prompt said
    return QCoreApplication::translate("InstallerToolAnswer", "Installation failed: %1")
        .arg(output);
}
