#include "tools/Package.h"

#include "World.h"
#include "tools/HdiutilImages.h"
#include "tools/PackageToolSupport.h"
#include "tools/Signatures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace {

const std::pair<const char *, InstallerIconLook::Landscape> landscapes[] = {
    {"hills", InstallerIconLook::Landscape::Hills},
    {"cliff", InstallerIconLook::Landscape::Cliff},
    {"dunes", InstallerIconLook::Landscape::Dunes},
};

QJsonObject iconToJson(const InstallerIconLook &look)
{
    QString landscape;
    for (const auto &[name, value] : landscapes) {
        if (value == look.landscape)
            landscape = QLatin1String(name);
    }
    return {{QStringLiteral("skyTop"), look.skyTop.name()},
            {QStringLiteral("skyBottom"), look.skyBottom.name()},
            {QStringLiteral("land"), look.land.name()},
            {QStringLiteral("landscape"), landscape}};
}

std::optional<InstallerIconLook> iconFromJson(const QJsonObject &icon)
{
    InstallerIconLook look{QColor::fromString(icon.value(u"skyTop").toString()),
                           QColor::fromString(icon.value(u"skyBottom").toString()),
                           QColor::fromString(icon.value(u"land").toString())};
    if (!look.skyTop.isValid() || !look.skyBottom.isValid() || !look.land.isValid())
        return std::nullopt;
    for (const auto &[name, value] : landscapes) {
        if (icon.value(u"landscape").toString() == QLatin1String(name))
            look.landscape = value;
    }
    return look;
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool writeFile(const QString &path, const QByteArray &contents, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return fail(error, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

// A bundle name that stays inside the folder it is installed in.
bool isPlainBundleName(const QString &name)
{
    return name.endsWith(QLatin1String(".app")) && name.size() > 4 && !name.contains(u'/') &&
           !name.startsWith(u'.');
}

} // namespace

namespace Package {

QJsonObject toJsonObject(const Manifest &manifest)
{
    QJsonObject object{
        {QStringLiteral("standinPackage"), 1},
        {QStringLiteral("packageName"), manifest.packageName},
        {QStringLiteral("application"), manifest.application},
        {QStringLiteral("infoPlist"), manifest.infoPlist},
        {QStringLiteral("infoPlistFormat"), manifest.infoPlistFormat == Plist::Format::Binary
                                                ? QStringLiteral("binary")
                                                : QStringLiteral("xml")},
        {QStringLiteral("sharedSupportSize"), manifest.sharedSupportSize},
    };
    if (manifest.icon)
        object.insert(QStringLiteral("icon"), iconToJson(*manifest.icon));
    return object;
}

std::optional<Manifest> fromJsonObject(const QJsonObject &object)
{
    if (object.value(u"standinPackage").toInt() != 1)
        return std::nullopt;

    Manifest manifest;
    manifest.packageName = object.value(u"packageName").toString();
    manifest.application = object.value(u"application").toString();
    manifest.infoPlist = object.value(u"infoPlist").toObject();
    const QString format = object.value(u"infoPlistFormat").toString();
    manifest.infoPlistFormat =
        format == QLatin1String("binary") ? Plist::Format::Binary : Plist::Format::Xml;
    const QJsonValue size = object.value(u"sharedSupportSize");
    manifest.sharedSupportSize = static_cast<qint64>(size.toDouble(-1));
    if (object.contains(u"icon"))
        manifest.icon = iconFromJson(object.value(u"icon").toObject());

    if (manifest.packageName.isEmpty() || !isPlainBundleName(manifest.application) ||
        manifest.infoPlist.isEmpty() ||
        (format != QLatin1String("xml") && format != QLatin1String("binary")) || !size.isDouble() ||
        manifest.sharedSupportSize < 0)
        return std::nullopt;
    return manifest;
}

QByteArray toJson(const Manifest &manifest)
{
    return QJsonDocument(toJsonObject(manifest)).toJson(QJsonDocument::Indented);
}

std::optional<Manifest> read(const QString &path)
{
    QFile file(path);
    // Real packages are small archives; anything big is not one of ours.
    if (!QFileInfo(path).isFile() || file.size() > 1024 * 1024 || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return fromJsonObject(QJsonDocument::fromJson(file.readAll()).object());
}

bool makeInstallerApp(const QString &appPath, const QByteArray &infoPlist,
                      const std::optional<InstallerIconLook> &icon, qint64 sharedSupportSize,
                      const QString &program, QString *error)
{
    const QString contents = appPath + QStringLiteral("/Contents");
    for (const char *folder : {"/MacOS", "/Resources", "/SharedSupport"}) {
        if (!QDir().mkpath(contents + QLatin1String(folder)))
            return fail(
                error,
                QStringLiteral("cannot make the folder %1").arg(contents + QLatin1String(folder)));
    }

    if (!writeFile(contents + QStringLiteral("/Info.plist"), infoPlist, error) ||
        !writeFile(contents + QStringLiteral("/PkgInfo"), "APPL????", error))
        return false;
    const QString springboard = contents + QStringLiteral("/MacOS/InstallAssistant_springboard");
    if (!writeFile(springboard,
                   "#!/bin/sh\n# The installer's own program does nothing here.\nexit 0\n", error))
        return false;
    QFile::setPermissions(springboard, QFile::permissions(springboard) | QFile::ExeOwner |
                                           QFile::ExeGroup | QFile::ExeOther);

    if (icon && !writeIcns(drawInstallerIcon(*icon),
                           contents + QStringLiteral("/Resources/InstallAssistant.icns"), error))
        return false;
    const QString link = contents + QStringLiteral("/Resources/createinstallmedia");
    if (!QFile::link(program, link))
        return fail(error, QStringLiteral("cannot link %1 to %2").arg(link, program));
    const QString payload = contents + QStringLiteral("/SharedSupport/SharedSupport.dmg");
    QString reason;
    if (!ToolSupport::makeSparseFile(payload, sharedSupportSize, &reason))
        return fail(error, QStringLiteral("cannot make %1 of %2 bytes: %3")
                               .arg(payload)
                               .arg(sharedSupportSize)
                               .arg(reason));
    return Signatures::sign(appPath, QLatin1String(Signatures::apple), error);
}

bool install(const World &world, const Manifest &manifest, const QString &folder,
             const QString &program, QString *error)
{
    const QString destination = folder + u'/' + manifest.application;
    const QString staging =
        folder + QStringLiteral("/.") + manifest.application + QStringLiteral(".partial");
    if (QFileInfo::exists(staging) && !QDir(staging).removeRecursively())
        return fail(error, QStringLiteral("cannot remove %1").arg(staging));

    const QByteArray infoPlist = Plist::fromJson(manifest.infoPlist, manifest.infoPlistFormat);
    if (!makeInstallerApp(staging, infoPlist, manifest.icon, manifest.sharedSupportSize, program,
                          error)) {
        QDir(staging).removeRecursively();
        return false;
    }

    const QFileInfo existing(destination);
    if (existing.isSymLink() || existing.isFile())
        QFile::remove(destination);
    else if (existing.isDir())
        QDir(destination).removeRecursively();
    if (!QDir().rename(staging, destination)) {
        QDir(staging).removeRecursively();
        return fail(error, QStringLiteral("cannot move the new bundle to %1").arg(destination));
    }

    // Its SharedSupport.dmg attaches like any image.
    HdiutilImages::record(
        world, destination + QStringLiteral("/Contents/SharedSupport/SharedSupport.dmg"),
        {QStringLiteral("Shared Support"), QStringLiteral("HFS+"), QStringLiteral("UDZO")});
    return true;
}

} // namespace Package
