#include "model/InstallerToolAnswer.h"

std::optional<QString> packageInstallationFailure(int status, const QString &output)
{
    if (status == 0)
        return std::nullopt;
    return QStringLiteral("Installation failed: ") + output;
}
