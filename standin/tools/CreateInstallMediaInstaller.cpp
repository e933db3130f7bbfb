#include "tools/CreateInstallMediaInstaller.h"

#include "Plist.h"
#include "tools/FileTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>

namespace CreateInstallMedia {

namespace {

const QString appSuffix = QStringLiteral(".app");

struct NamedEra {
    const char *word;
    Era era;
};

// For installers that do not say which macOS they were built for.
const NamedEra namedEras[] = {
    {"Big Sur", Era::Modern}, {"Monterey", Era::Modern},  {"Ventura", Era::Modern},
    {"Sonoma", Era::Modern},  {"Sequoia", Era::Modern},   {"High Sierra", Era::Classic},
    {"Mojave", Era::Classic}, {"Catalina", Era::Classic}, {"Sierra", Era::Classic},
    {"El Capitan", Era::OsX}, {"Yosemite", Era::OsX},     {"Mavericks", Era::OsX},
};

// "15.1" or "10.14"; older installers say "GM" or leave the key out.
std::optional<Era> eraFromPlatformVersion(const QString &version)
{
    const QStringList parts = version.split(u'.');
    bool isNumber = false;
    const int major = parts.value(0).toInt(&isNumber);
    if (!isNumber || parts.size() < 2)
        return std::nullopt;
    if (major >= 11)
        return Era::Modern;
    return parts.value(1).toInt() >= 12 ? Era::Classic : Era::OsX;
}

Era eraFromName(const QString &name, const QString &platformVersion)
{
    for (const NamedEra &named : namedEras) {
        if (name.contains(QLatin1String(named.word), Qt::CaseInsensitive))
            return named.era;
    }
    if (name.contains(QLatin1String("OS X")))
        return Era::OsX;
    // "GM" was only ever written by the old build tools.
    return platformVersion == QLatin1String("GM") ? Era::Classic : Era::Modern;
}

} // namespace

QString bundleContaining(const QString &path)
{
    QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!folder.endsWith(appSuffix)) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return {};
        folder = parent;
    }
    return folder;
}

std::optional<Installer> readInstaller(const QString &bundlePath)
{
    QFile file(bundlePath + QStringLiteral("/Contents/Info.plist"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject info = Plist::toJson(file.readAll()).toObject();
    if (info.isEmpty())
        return std::nullopt;

    Installer installer;
    installer.bundlePath = QDir::cleanPath(bundlePath);
    installer.name = info.value(u"CFBundleDisplayName").toString();
    if (installer.name.isEmpty())
        installer.name = info.value(u"CFBundleName").toString();
    if (installer.name.isEmpty()) {
        installer.name = QFileInfo(installer.bundlePath).fileName();
        if (installer.name.endsWith(appSuffix))
            installer.name.chop(appSuffix.size());
    }

    const QString platformVersion = info.value(u"DTPlatformVersion").toString();
    installer.era = eraFromPlatformVersion(platformVersion)
                        .value_or(eraFromName(installer.name, platformVersion));
    installer.size = FileTree::apparentSize(installer.bundlePath);
    return installer;
}

QString eraName(Era era)
{
    switch (era) {
    case Era::Modern:
        return QStringLiteral("modern");
    case Era::Classic:
        return QStringLiteral("classic");
    case Era::OsX:
        return QStringLiteral("os x");
    }
    return {};
}

} // namespace CreateInstallMedia
