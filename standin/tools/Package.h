#pragma once

#include "InstallerIcon.h"
#include "Plist.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

class World;

// An installer package on a stand-in Mac. Instead of a xar archive, InstallAssistant.pkg is a
// small UTF-8 JSON file naming the installer application it puts in /Applications:
//
//   {
//     "standinPackage": 1,
//     "packageName": "macOS Ventura",              what installer reports as the package name
//     "application": "Install macOS Ventura.app",  the bundle it installs
//     "infoPlist": {"CFBundleDisplayName": …},     the bundle's Contents/Info.plist, as JSON
//     "infoPlistFormat": "xml",                     or "binary"
//     "sharedSupportSize": 11881480192,             bytes of the (sparse) SharedSupport.dmg
//     "icon": {"skyTop": "#501e14", "skyBottom": "#f08c3c", "land": "#5a281e",
//              "landscape": "dunes"}                optional; "hills", "cliff" or "dunes"
//   }
//
// A file that is not JSON, or lacks one of the keys above except "icon", is not a package.
namespace Package {

struct Manifest {
    QString packageName;
    QString application;
    QJsonObject infoPlist;
    Plist::Format infoPlistFormat = Plist::Format::Xml;
    qint64 sharedSupportSize = 0;
    std::optional<InstallerIconLook> icon;
};

// The manifest as the JSON object above, and back; nullopt when `object` is not a package. The
// package file holds the object, softwareupdate's catalogue one per installer it offers.
QJsonObject toJsonObject(const Manifest &manifest);
std::optional<Manifest> fromJsonObject(const QJsonObject &object);

QByteArray toJson(const Manifest &manifest);
std::optional<Manifest> read(const QString &path);

// Lays out an installer bundle at `appPath` as macOS ships them: Info.plist, PkgInfo, the
// springboard program, InstallAssistant.icns when there is an icon, createinstallmedia as a link
// to `program`, a sparse SharedSupport.dmg of `sharedSupportSize` bytes, and Apple's signature.
bool makeInstallerApp(const QString &appPath, const QByteArray &infoPlist,
                      const std::optional<InstallerIconLook> &icon, qint64 sharedSupportSize,
                      const QString &program, QString *error);

// Installs the manifest's application into `folder` (a host path), replacing an earlier copy. The
// bundle is built under another name and renamed into place, so it never appears half made.
bool install(const World &world, const Manifest &manifest, const QString &folder,
             const QString &program, QString *error);

} // namespace Package
