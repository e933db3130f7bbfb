#include "model/InstallMediaContents.h"

#include "model/FolderListing.h"

#include <QFileInfo>

std::optional<QString> installerApplicationIn(const QString &volumeFolder)
{
    const std::optional<QStringList> names = listFolder(volumeFolder);
    for (const QString &name : names.value_or(QStringList())) {
        if (!name.endsWith(QLatin1String(".app")))
            continue;
        const QString application = volumeFolder + u'/' + name;
        const QFileInfo infoPlist(application + QStringLiteral("/Contents/Info.plist"));
        // A link could point anywhere, the installer being checked included.
        if (!QFileInfo(application).isSymLink() && infoPlist.isFile() && !infoPlist.isSymLink())
            return application;
    }
    return std::nullopt;
}
