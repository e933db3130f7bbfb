#include "model/InstallerApp.h"

#include "model/ByteFormat.h"
#include "model/DesktopFileIcon.h"
#include "model/IcnsIcon.h"
#include "model/ShellQuote.h"
#include "model/WholeNumber.h"
#include "propertylist/PropertyList.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace {

// What the record holds for a build or version the bundle does not give; it is data, compared
// and sorted, so it is never translated there.
QString unknownValue()
{
    return QStringLiteral("Unknown");
}

// Real Info.plist files are a few kilobytes; anything this large is not one.
constexpr qint64 maximumInfoPlistBytes = 4 * 1024 * 1024;

std::optional<QString> stringValue(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

// The icon file a bundle names lies in its Resources folder; a name that would lead out of it
// (a folder, "..", a NUL that cuts the path short) is refused.
bool isPlainIconName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(QLatin1String("..")) &&
           !name.contains(QChar(0));
}

QIcon loadBundleIcon(const QString &bundlePath, const QVariantMap &info)
{
    if (auto iconFile = stringValue(info, QStringLiteral("CFBundleIconFile"));
        iconFile && isPlainIconName(*iconFile)) {
        if (!iconFile->endsWith(QLatin1String(".icns")))
            iconFile->append(QLatin1String(".icns"));
        if (auto icon =
                readIcnsIcon(bundlePath + QStringLiteral("/Contents/Resources/") + *iconFile))
            return *icon;
    }
    return desktopIconForFile(bundlePath);
}

struct NamedRelease {
    const char *word;
    std::array<qint64, 4> version;
};

// Installer names carry the release name; the first word that names a release decides.
constexpr NamedRelease namedReleases[] = {
    {"sequoia", {15, 0, 0, 0}},   {"sonoma", {14, 0, 0, 0}},    {"ventura", {13, 0, 0, 0}},
    {"monterey", {12, 0, 0, 0}},  {"bigsur", {11, 0, 0, 0}},    {"big", {11, 0, 0, 0}},
    {"catalina", {10, 15, 0, 0}}, {"mojave", {10, 14, 0, 0}},   {"highsierra", {10, 13, 0, 0}},
    {"high", {10, 13, 0, 0}},     {"sierra", {10, 12, 0, 0}},   {"elcapitan", {10, 11, 0, 0}},
    {"el", {10, 11, 0, 0}},       {"yosemite", {10, 10, 0, 0}}, {"mavericks", {10, 9, 0, 0}},
};

} // namespace

std::optional<InstallerApp> InstallerApp::fromBundle(const QUrl &url)
{
    const QString bundlePath = url.toLocalFile();
    const auto info = readPropertyListDictionaryFile(
        bundlePath + QStringLiteral("/Contents/Info.plist"), maximumInfoPlistBytes);
    if (!info)
        return std::nullopt;
    auto installer = fromInfo(*info);
    if (!installer)
        return std::nullopt;
    installer->id = QUuid::createUuid();
    installer->url = url;
    installer->icon = loadBundleIcon(bundlePath, *info);
    installer->size = calculateDirectorySize(url);
    return installer;
}

std::optional<InstallerApp> InstallerApp::fromInfo(const QVariantMap &info)
{
    auto name = stringValue(info, QStringLiteral("CFBundleDisplayName"));
    if (!name)
        name = stringValue(info, QStringLiteral("CFBundleName"));
    const auto version = stringValue(info, QStringLiteral("CFBundleShortVersionString"));
    if (!name || !version)
        return std::nullopt;
    InstallerApp installer;
    installer.name = *name;
    installer.version = *version;
    installer.buildNumber =
        stringValue(info, QStringLiteral("DTPlatformBuild")).value_or(unknownValue());
    installer.macOSVersion =
        stringValue(info, QStringLiteral("DTPlatformVersion")).value_or(unknownValue());
    installer.sortableVersion = createSortableVersion(installer.macOSVersion, installer.name);
    return installer;
}

QString InstallerApp::formattedSize() const
{
    return formatGigabytes(size);
}

QList<qint64> InstallerApp::createSortableVersion(const QString &version, const QString &appName)
{
    QList<qint64> result{0, 0, 0, 0};
    if (version.contains(u'.')) {
        const QStringList pieces = version.split(u'.');
        for (qsizetype index = 0; index < std::min<qsizetype>(4, pieces.size()); ++index)
            result[index] = parseWholeNumber(pieces[index]).value_or(0);
        return result;
    }

    static const QRegularExpression wordSeparator(QStringLiteral("[ \\t]"));
    for (const QString &word : appName.toLower().split(wordSeparator)) {
        if (const auto number = parseWholeNumber(word)) {
            if (*number >= 10 && *number <= 20)
                return {*number, 0, 0, 0};
            continue;
        }
        for (const NamedRelease &release : namedReleases) {
            if (word == QLatin1String(release.word))
                return QList<qint64>(release.version.begin(), release.version.end());
        }
    }
    return result;
}

bool InstallerApp::requiresApplicationPathFlag() const
{
    if (macOSVersion.contains(QLatin1String("10."))) {
        const QStringList pieces = macOSVersion.split(u'.', Qt::SkipEmptyParts);
        if (pieces.size() >= 2) {
            if (const auto minor = parseWholeNumber(pieces[1]))
                return *minor < 13;
        }
    }
    const QString lowerName = name.toLower();
    if (lowerName.contains(QLatin1String("sierra")) &&
        !lowerName.contains(QLatin1String("high sierra")))
        return true;
    for (const char *oldRelease : {"el capitan", "yosemite", "mavericks"}) {
        if (lowerName.contains(QLatin1String(oldRelease)))
            return true;
    }
    const QString lowerVersion = version.toLower();
    for (const char *oldVersion : {"10.9", "10.10", "10.11", "10.12"}) {
        if (lowerVersion.contains(QLatin1String(oldVersion)))
            return true;
    }
    return false;
}

QStringList InstallerApp::createinstallmediaArguments(const QString &volumePath) const
{
    const QString bundle = bundlePath();
    QStringList arguments{bundle + QStringLiteral("/Contents/Resources/createinstallmedia"),
                          QStringLiteral("--volume"), volumePath};
    if (requiresApplicationPathFlag())
        arguments << QStringLiteral("--applicationpath") << bundle;
    return arguments << QStringLiteral("--nointeraction");
}

QString InstallerApp::createinstallmediaCommand(const QString &volumePath) const
{
    // Installer and volume names hold spaces and may hold anything else a file name can, so
    // every path is quoted for the shell; a plain path reads exactly as typed by hand.
    return shellCommand(createinstallmediaArguments(volumePath));
}

bool operator<(const InstallerApp &a, const InstallerApp &b)
{
    if (a.sortableVersion != b.sortableVersion)
        return std::lexicographical_compare(a.sortableVersion.begin(), a.sortableVersion.end(),
                                            b.sortableVersion.begin(), b.sortableVersion.end());
    return a.name.normalized(QString::NormalizationForm_C) <
           b.name.normalized(QString::NormalizationForm_C);
}

size_t qHash(const InstallerApp &installer, size_t seed)
{
    return qHash(installer.url, seed);
}

QString InstallerApp::shownBuildNumber() const
{
    return buildNumber == unknownValue() ? QCoreApplication::translate("InstallerApp", "Unknown")
                                         : buildNumber;
}

QString InstallerApp::shownMacOSVersion() const
{
    return macOSVersion == unknownValue() ? QCoreApplication::translate("InstallerApp", "Unknown")
                                          : macOSVersion;
}
