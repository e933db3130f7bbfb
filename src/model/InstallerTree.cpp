#include "model/InstallerTree.h"

#include <QCoreApplication>

#include <algorithm>
#include <optional>

namespace {

bool isIncidentalPath(const QString &path)
{
    const QStringList parts = path.split(u'/');
    return std::any_of(parts.begin(), parts.end(), isIncidentalEntry);
}

QList<TreeEntry> sortedWithoutIncidental(QList<TreeEntry> entries)
{
    entries.removeIf([](const TreeEntry &entry) { return isIncidentalPath(entry.path); });
    std::sort(entries.begin(), entries.end(),
              [](const TreeEntry &a, const TreeEntry &b) { return a.path < b.path; });
    return entries;
}

QString kindName(TreeEntry::Kind kind)
{
    switch (kind) {
    case TreeEntry::Kind::folder:
        //: What an entry of the installer is, in “%2 in the installer, %3 on the media”
        return QCoreApplication::translate("InstallerTree", "a folder");
    case TreeEntry::Kind::file:
        //: What an entry of the installer is, in “%2 in the installer, %3 on the media”
        return QCoreApplication::translate("InstallerTree", "a file");
    case TreeEntry::Kind::link:
        //: What an entry of the installer is, in “%2 in the installer, %3 on the media”
        return QCoreApplication::translate("InstallerTree", "a link");
    case TreeEntry::Kind::other:
        break;
    }
    //: What an entry of the installer is, in “%2 in the installer, %3 on the media”
    return QCoreApplication::translate("InstallerTree", "a special file");
}

QString bytes(qint64 size)
{
    return (size == 1 ? QCoreApplication::translate("InstallerTree", "%1 byte")
                      : QCoreApplication::translate("InstallerTree", "%1 bytes"))
        .arg(QString::number(size));
}

std::optional<TreeDifference> differenceOf(const TreeEntry &source, const TreeEntry &copy)
{
    using Kind = TreeDifference::Kind;
    if (source.kind != copy.kind)
        return TreeDifference{source.path, Kind::kind, kindName(source.kind), kindName(copy.kind)};
    if (source.kind == TreeEntry::Kind::file && source.size != copy.size)
        return TreeDifference{source.path, Kind::size, bytes(source.size), bytes(copy.size)};
    if (source.kind == TreeEntry::Kind::link && source.linkTarget != copy.linkTarget)
        return TreeDifference{source.path, Kind::linkTarget, QString::fromUtf8(source.linkTarget),
                              QString::fromUtf8(copy.linkTarget)};
    return std::nullopt;
}

QString describe(const TreeDifference &difference)
{
    using Kind = TreeDifference::Kind;
    switch (difference.kind) {
    case Kind::missing:
        //: %1 is a path inside the installer, such as Contents/Info.plist
        return QCoreApplication::translate("InstallerTree", "%1: missing on the media")
            .arg(difference.path);
    case Kind::extra:
        //: %1 is a path inside the installer, such as Contents/Info.plist
        return QCoreApplication::translate("InstallerTree", "%1: on the media only")
            .arg(difference.path);
    case Kind::kind:
    case Kind::size:
        //: %1 is a path inside the installer; %2 and %3 are what it is on each side (“a file”, “12
        //: bytes”)
        return QCoreApplication::translate("InstallerTree",
                                           "%1: %2 in the installer, %3 on the media")
            .arg(difference.path, difference.source, difference.copy);
    case Kind::linkTarget:
        //: %1 is a path inside the installer; %2 and %3 are where the link points on each side
        return QCoreApplication::translate(
                   "InstallerTree", "%1: a link to “%2” in the installer, to “%3” on the media")
            .arg(difference.path, difference.source, difference.copy);
    case Kind::content:
        //: %1 is a path inside the installer; %2 and %3 are the checksums of each side
        return QCoreApplication::translate(
                   "InstallerTree",
                   "%1: its content differs (SHA-256 %2 in the installer, %3 on the media)")
            .arg(difference.path, difference.source, difference.copy);
    }
    return difference.path;
}

} // namespace

bool isIncidentalEntry(const QString &name)
{
    return name == QLatin1String(".DS_Store") || name.startsWith(QLatin1String("._"));
}

QList<TreeDifference> compareTrees(QList<TreeEntry> source, QList<TreeEntry> copy)
{
    source = sortedWithoutIncidental(std::move(source));
    copy = sortedWithoutIncidental(std::move(copy));
    QList<TreeDifference> differences;
    // Both sorted by path: one pass, as a merge.
    auto s = source.cbegin();
    auto c = copy.cbegin();
    while (s != source.cend() || c != copy.cend()) {
        if (c == copy.cend() || (s != source.cend() && s->path < c->path)) {
            differences << TreeDifference{s->path, TreeDifference::Kind::missing, {}, {}};
            ++s;
        } else if (s == source.cend() || c->path < s->path) {
            differences << TreeDifference{c->path, TreeDifference::Kind::extra, {}, {}};
            ++c;
        } else {
            if (const std::optional<TreeDifference> difference = differenceOf(*s, *c))
                differences << *difference;
            ++s;
            ++c;
        }
    }
    return differences;
}

QStringList payloadPaths(const QList<TreeEntry> &source)
{
    QStringList found;
    for (const char *path :
         {"Contents/SharedSupport/SharedSupport.dmg", "Contents/SharedSupport/InstallESD.dmg",
          "Contents/SharedSupport/BaseSystem.dmg"}) {
        const QString wanted = QLatin1String(path);
        const bool present = std::any_of(source.begin(), source.end(), [&](const TreeEntry &entry) {
            return entry.path == wanted && entry.kind == TreeEntry::Kind::file;
        });
        if (present)
            found << wanted;
    }
    return found;
}

QString describeDifferences(const QList<TreeDifference> &differences, qsizetype shown)
{
    QStringList lines;
    for (qsizetype i = 0; i < std::min(shown, differences.size()); ++i)
        lines << describe(differences.at(i));
    if (differences.size() > shown)
        //: After a list of differences: %1 is how many more there are
        lines << QCoreApplication::translate("InstallerTree", "and %1 more")
                     .arg(QString::number(differences.size() - shown));
    return lines.join(u'\n');
}
