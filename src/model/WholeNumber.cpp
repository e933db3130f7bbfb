#include "model/WholeNumber.h"

#include <QByteArray>

#include <charconv>

std::optional<qint64> parseWholeNumber(QStringView text)
{
    QByteArray ascii;
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        if (text.front() == u'-')
            ascii.append('-');
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        ascii.append(char(c.unicode()));
    }
    qint64 value = 0;
    const char *end = ascii.constData() + ascii.size();
    const auto [stop, error] = std::from_chars(ascii.constData(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}
