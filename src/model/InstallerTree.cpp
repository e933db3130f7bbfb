#include "model/InstallerTree.h"

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
        return QStringLiteral("a folder");
    case TreeEntry::Kind::file:
        return QStringLiteral("a file");
    case TreeEntry::Kind::link:
        return QStringLiteral("a link");
    case TreeEntry::Kind::other:
        break;
    }
    return QStringLiteral("a special file");
}

QString bytes(qint64 size)
{
    return QString::number(size) + (size == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
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
        return QStringLiteral("%1: missing on the media").arg(difference.path);
    case Kind::extra:
        return QStringLiteral("%1: on the media only").arg(difference.path);
    case Kind::kind:
    case Kind::size:
        return QStringLiteral("%1: %2 in the installer, %3 on the media")
            .arg(difference.path, difference.source, difference.copy);
    case Kind::linkTarget:
        return QStringLiteral("%1: a link to \u201c%2\u201d in the installer, to \u201c%3\u201d on "
                              "the media")
            .arg(difference.path, difference.source, difference.copy);
    case Kind::content:
        return QStringLiteral("%1: its content differs (SHA-256 %2 in the installer, %3 on the "
                              "media)")
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
        lines << QStringLiteral("and %1 more").arg(differences.size() - shown);
    return lines.join(u'\n');
}
