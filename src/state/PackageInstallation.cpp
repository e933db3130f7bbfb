// Installing an installer application from an InstallAssistant package.

#include "state/AppState.h"

void AppState::handlePKGInstaller(const QUrl &url)
{
    showAlert(QStringLiteral("Package Installation"),
              QStringLiteral("Installing %1 is not supported by this version of Tessaline yet. "
                             "Open the package in Finder to install it.")
                  .arg(url.fileName()));
}
