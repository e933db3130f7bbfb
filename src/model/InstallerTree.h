#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What a check of written media compares: the entries of an installer bundle's tree, each by its
// path inside the bundle, as the source bundle and its copy on the media hold them.
struct TreeEntry {
    enum class Kind { folder, file, link, other };

    // "Contents/SharedSupport/SharedSupport.dmg"; never empty, never with a leading slash.
    QString path;
    Kind kind = Kind::file;
    // Of a file; zero for anything else.
    qint64 size = 0;
    // Of a link, as it is written (links are compared, never followed).
    QByteArray linkTarget;

    friend bool operator==(const TreeEntry &, const TreeEntry &) = default;
};

// One way the copy differs from the source.
struct TreeDifference {
    enum class Kind { missing, extra, kind, size, linkTarget, content };

    QString path;
    Kind kind = Kind::missing;
    // What each side has, in a few words ("12 bytes" / "13 bytes"); empty where the kind says it.
    QString source;
    QString copy;

    friend bool operator==(const TreeDifference &, const TreeDifference &) = default;
};

// Whether the system may add or drop an entry of this name on its own, so that it proves
// nothing about the copy: Finder's .DS_Store and the AppleDouble "._" files a copy through
// another file system leaves.
bool isIncidentalEntry(const QString &name);

// Every difference between the two trees, in path order: entries missing from the copy or only
// in it, of another kind, another size, or a link to somewhere else. Incidental entries, and
// anything below them, are left out on both sides. The lists need not be sorted.
QList<TreeDifference> compareTrees(QList<TreeEntry> source, QList<TreeEntry> copy);

// The files whose whole content is compared, as `source` holds them: the installer's payload,
// SharedSupport.dmg from Big Sur on, InstallESD.dmg and BaseSystem.dmg before.
QStringList payloadPaths(const QList<TreeEntry> &source);

// The first `shown` differences, one per line ("Contents/PkgInfo: missing on the media"), and
// how many more there are.
QString describeDifferences(const QList<TreeDifference> &differences, qsizetype shown = 5);
