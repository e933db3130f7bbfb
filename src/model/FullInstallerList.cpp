#include "model/FullInstallerList.h"

#include <QtNumeric>

#include <algorithm>
#include <cmath>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The key a row's piece begins with ("Title" of "Title: macOS Sequoia"), and where its value
// starts; nullopt when the piece does not begin with one.
std::optional<std::pair<QString, qsizetype>> leadingKey(QStringView piece)
{
    qsizetype start = 0;
    while (start < piece.size() && piece.at(start).isSpace())
        ++start;
    if (start == piece.size() || !isAsciiLetter(piece.at(start)))
        return std::nullopt;
    // Keys are short words; a long run of text before a colon is a value that holds one.
    constexpr qsizetype longestKey = 40;
    for (qsizetype i = start; i < piece.size() && i - start <= longestKey; ++i) {
        const QChar c = piece.at(i);
        if (c == u':')
            return std::pair(piece.mid(start, i - start).trimmed().toString().toLower(), i + 1);
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != u' ' && c != u'\t')
            return std::nullopt;
    }
    return std::nullopt;
}

// The key/value pairs of one row, its leading "*" already gone, keys in lower case; the first
// of a repeated key wins.
QList<std::pair<QString, QString>> rowPairs(QStringView row)
{
    QList<std::pair<QString, QString>> pairs;
    bool inPair = false;
    for (const QStringView piece : row.split(u',')) {
        if (piece.trimmed().isEmpty())
            continue; // a trailing comma, or two in a row
        if (const auto key = leadingKey(piece)) {
            pairs.append({key->first, piece.mid(key->second).toString()});
            inPair = true;
        } else if (inPair) {
            pairs.last().second += u',';
            pairs.last().second += piece;
        }
    }
    for (auto &[key, value] : pairs)
        value = value.trimmed();
    return pairs;
}

QString valueOf(const QList<std::pair<QString, QString>> &pairs, QLatin1StringView key)
{
    for (const auto &[k, value] : pairs)
        if (k == key)
            return value;
    return {};
}

// A line that names a title or a version is a row, whether or not it can be read.
bool isRow(const QList<std::pair<QString, QString>> &pairs)
{
    return std::any_of(pairs.begin(), pairs.end(), [](const auto &pair) {
        return pair.first == QLatin1StringView("title") ||
               pair.first == QLatin1StringView("version");
    });
}

std::optional<AvailableInstaller> parseRow(const QList<std::pair<QString, QString>> &pairs)
{
    AvailableInstaller installer;
    installer.title = valueOf(pairs, QLatin1StringView("title")).simplified();
    installer.version = valueOf(pairs, QLatin1StringView("version"));
    // A version that is not a number can be neither ordered nor asked for.
    qsizetype suffixAt = 0;
    const QVersionNumber number = QVersionNumber::fromString(installer.version, &suffixAt);
    if (installer.title.isEmpty() || number.isNull() || suffixAt != installer.version.size())
        return std::nullopt;
    installer.build = valueOf(pairs, QLatin1StringView("build"));
    if (const QString size = valueOf(pairs, QLatin1StringView("size")); !size.isEmpty())
        installer.size = parseListedSize(size);
    const QString deferred = valueOf(pairs, QLatin1StringView("deferred"));
    installer.deferred = deferred.compare(QLatin1StringView("yes"), Qt::CaseInsensitive) == 0 ||
                         deferred.compare(QLatin1StringView("true"), Qt::CaseInsensitive) == 0;
    return installer;
}

QList<QStringView> linesOf(const QString &text)
{
    QList<QStringView> lines;
    for (QStringView line : QStringView(text).split(u'\n')) {
        while (line.endsWith(u'\r'))
            line.chop(1);
        lines.append(line.trimmed());
    }
    return lines;
}

bool isHeader(QStringView line)
{
    return line.contains(QLatin1StringView("the following full installers"), Qt::CaseInsensitive);
}

// getopt's complaint about the option, in any of the wordings BSD and GNU use
// ("softwareupdate: unrecognized option `--list-full-installers'", "illegal option -- …").
bool refusesTheOption(QStringView line)
{
    if (!line.contains(QLatin1StringView("option"), Qt::CaseInsensitive) ||
        !line.contains(QLatin1StringView("list-full-installers"), Qt::CaseInsensitive))
        return false;
    for (const char *word : {"unrecognized", "unrecognised", "illegal", "invalid", "unknown"})
        if (line.contains(QLatin1StringView(word), Qt::CaseInsensitive))
            return true;
    return false;
}

bool isUsage(QStringView line)
{
    return line.startsWith(QLatin1StringView("usage:"), Qt::CaseInsensitive);
}

} // namespace

QVersionNumber AvailableInstaller::versionNumber() const
{
    return QVersionNumber::fromString(version);
}

QString AvailableInstaller::majorVersion() const
{
    const QVersionNumber number = versionNumber();
    if (number.isNull())
        return {};
    if (number.majorVersion() == 10 && number.segmentCount() > 1)
        return QStringLiteral("10.") + QString::number(number.minorVersion());
    return QString::number(number.majorVersion());
}

QString AvailableInstaller::applicationName() const
{
    QString name = title;
    name.replace(u'/', u':');
    if (!name.startsWith(QLatin1StringView("Install "), Qt::CaseInsensitive))
        name.prepend(QStringLiteral("Install "));
    return name + QStringLiteral(".app");
}

std::optional<FullInstallerList> parseFullInstallerList(const QString &standardOutput,
                                                        const QString &standardError)
{
    FullInstallerList list;
    bool header = false;
    bool rows = false;
    bool refused = false;
    bool usage = false;
    // The rows and the header belong on standard output; a host that moves them is read alike.
    for (const QString *stream : {&standardOutput, &standardError}) {
        for (const QStringView line : linesOf(*stream)) {
            if (line.startsWith(u'*')) {
                const auto pairs = rowPairs(line.mid(1));
                rows = rows || isRow(pairs);
                if (auto installer = parseRow(pairs))
                    list.installers.append(std::move(*installer));
            } else if (isHeader(line)) {
                header = true;
            } else if (refusesTheOption(line)) {
                refused = true;
            } else if (isUsage(line)) {
                usage = true;
            }
        }
    }
    if (header || rows) {
        std::stable_sort(list.installers.begin(), list.installers.end(),
                         [](const AvailableInstaller &a, const AvailableInstaller &b) {
                             return a.versionNumber() > b.versionNumber();
                         });
        return list;
    }
    if (refused || usage) {
        list.listingUnsupported = true;
        return list;
    }
    return std::nullopt;
}

std::optional<qint64> parseListedSize(QStringView text)
{
    text = text.trimmed();
    qsizetype at = 0;
    qint64 whole = 0;
    while (at < text.size() && isAsciiDigit(text.at(at))) {
        if (qMulOverflow(whole, qint64(10), &whole) ||
            qAddOverflow(whole, qint64(text.at(at).unicode() - u'0'), &whole))
            return std::nullopt;
        ++at;
    }
    if (at == 0)
        return std::nullopt;
    double fraction = 0;
    if (at < text.size() && (text.at(at) == u'.' || text.at(at) == u',')) {
        const qsizetype digitsFrom = ++at;
        double scale = 0.1;
        while (at < text.size() && isAsciiDigit(text.at(at))) {
            fraction += (text.at(at).unicode() - u'0') * scale;
            scale /= 10;
            ++at;
        }
        if (at == digitsFrom)
            return std::nullopt;
    }
    const QString unit = text.mid(at).trimmed().toString().toLower();
    struct Unit {
        const char *name;
        qint64 bytes;
    };
    // Big Sur's tool prints a byte count and labels it "K"; later ones print KiB and say so.
    static constexpr Unit units[] = {
        {"", 1},
        {"b", 1},
        {"k", 1},
        {"kib", qint64(1) << 10},
        {"mib", qint64(1) << 20},
        {"gib", qint64(1) << 30},
        {"tib", qint64(1) << 40},
        {"kb", 1000},
        {"mb", 1000 * 1000},
        {"gb", 1000 * 1000 * 1000},
        {"tb", qint64(1000) * 1000 * 1000 * 1000},
    };
    const auto found = std::find_if(std::begin(units), std::end(units), [&](const Unit &u) {
        return unit == QLatin1StringView(u.name);
    });
    if (found == std::end(units))
        return std::nullopt;
    qint64 bytes = 0;
    if (qMulOverflow(whole, found->bytes, &bytes) ||
        qAddOverflow(bytes, qint64(std::llround(fraction * double(found->bytes))), &bytes))
        return std::nullopt;
    return bytes;
}
