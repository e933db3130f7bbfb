#include "ui/FileDialogPicker.h"

#include "host/Host.h"
#include "ui/OpenFileDialog.h"

std::optional<QUrl> FileDialogPicker::pickInstallerOrPackage()
{
    return chooseOneFile({QStringLiteral("Select macOS Installer"),
                          QStringLiteral("Please select a macOS Installer application or package"),
                          Host::current().applicationsFolder(),
                          QStringLiteral("macOS Installers (*.app *.pkg)")},
                         m_parent);
}
