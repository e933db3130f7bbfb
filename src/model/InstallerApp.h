#pragma once

#include "model/CodeSignature.h"

#include <QIcon>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUuid>
#include <QVariantMap>

#include <optional>

// One macOS installer application bundle ("Install macOS Sonoma.app"), read from its
// Contents/Info.plist. Records are values: equal when they name the same bundle, ordered from
// oldest to newest macOS by their sort key, then by name.
struct InstallerApp {
    QUuid id;
    QUrl url;
    QString name;
    QString version;
    QString buildNumber;
    QString macOSVersion;
    QList<qint64> sortableVersion; // always four numbers
    qint64 size = 0;
    QIcon icon;
    // Unchecked when read; the library and every job fill it in from codesign.
    CodeSignature signature;

    // Reads the bundle at `url`; nothing when it is not an installer bundle we can read. Walks
    // the whole bundle to measure it, so callers keep it off the main thread.
    static std::optional<InstallerApp> fromBundle(const QUrl &url);
    // The names and versions a bundle's Info.plist gives, read into `info`; nothing when it names
    // no installer. Leaves the bundle's own fields (id, url, icon, size) empty.
    static std::optional<InstallerApp> fromInfo(const QVariantMap &info);

    QString bundlePath() const { return url.toLocalFile(); }
    QString formattedSize() const;
    // Whether this installer's createinstallmedia must also be told where the installer is.
    bool requiresApplicationPathFlag() const;
    // What runs this installer's createinstallmedia onto `volumePath`: the tool's path and its
    // arguments, and the same as one shell command.
    QStringList createinstallmediaArguments(const QString &volumePath) const;
    QString createinstallmediaCommand(const QString &volumePath) const;

    static QList<qint64> createSortableVersion(const QString &version, const QString &appName);
    // The summed size of every file below `url`; symbolic links are counted, never followed.
    static qint64 calculateDirectorySize(const QUrl &url);

    friend bool operator==(const InstallerApp &a, const InstallerApp &b) { return a.url == b.url; }
    friend bool operator<(const InstallerApp &a, const InstallerApp &b);
    friend bool operator>(const InstallerApp &a, const InstallerApp &b) { return b < a; }
    friend bool operator<=(const InstallerApp &a, const InstallerApp &b) { return !(b < a); }
    friend bool operator>=(const InstallerApp &a, const InstallerApp &b) { return !(a < b); }

    // The build and the macOS version as a person reads them: a bundle that does not say has
    // "Unknown" in the record, shown in the reader's language.
    QString shownBuildNumber() const;
    QString shownMacOSVersion() const;
};

// Follows equality: records of the same bundle hash alike whenever they were read.
size_t qHash(const InstallerApp &installer, size_t seed = 0);

Q_DECLARE_METATYPE(InstallerApp)
