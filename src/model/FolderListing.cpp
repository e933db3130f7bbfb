#include "model/FolderListing.h"

#include "model/SystemError.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>

std::optional<QStringList> listFolder(const QString &folder, QString *error)
{
    DIR *directory = opendir(QFile::encodeName(folder).constData());
    if (!directory) {
        if (error)
            //: %1 is a folder's path, %2 the system's reason
            *error =
                QCoreApplication::translate("FolderListing", "The folder “%1” can’t be opened: %2")
                    .arg(folder, systemErrorText(errno));
        return std::nullopt;
    }
    QStringList names;
    while (const dirent *entry = readdir(directory)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
            names << QFile::decodeName(name);
    }
    closedir(directory);
    return names;
}
