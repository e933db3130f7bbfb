#include "ui/FileDialogPicker.h"

#include "host/Host.h"
#include "ui/OpenFileDialog.h"

std::optional<QUrl> FileDialogPicker::pickInstallerOrPackage()
{
    // The patterns stay out of the translation: the dialog reads them.
    //: The kind of file the dialog offers, before the patterns "(*.app *.pkg)".
    const QString kind = tr("macOS Installers");
    return chooseOneFile(
        {tr("Select macOS Installer"), tr("Please select a macOS Installer application or package"),
         Host::current().applicationsFolder(), QStringLiteral("%1 (*.app *.pkg)").arg(kind)},
        m_parent);
}
