#include "model/PrintedPercent.h"

#include <QRegularExpression>

#include <cstdlib>

namespace {

const QRegularExpression &percentPattern()
{
    static const QRegularExpression pattern(QStringLiteral("([0-9]+)%"));
    return pattern;
}

PrintedPercent fromDigits(const QString &digits)
{
    // strtod saturates to infinity instead of failing on absurdly long numbers.
    const double value = std::strtod(digits.toLatin1().constData(), nullptr);
    constexpr double int64Limit = 9223372036854775808.0; // 2^63, exact as a double
    if (value < int64Limit)
        return {value, QString::number(static_cast<qint64>(value))};
    qsizetype firstSignificant = 0;
    while (firstSignificant < digits.size() - 1 && digits.at(firstSignificant) == u'0')
        ++firstSignificant;
    return {value, digits.mid(firstSignificant)};
}

} // namespace

std::optional<PrintedPercent> firstPrintedPercent(const QString &text)
{
    const QRegularExpressionMatch match = percentPattern().match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return fromDigits(match.captured(1));
}

std::optional<PrintedPercent> lastPrintedPercent(const QString &text)
{
    QString digits;
    for (const QRegularExpressionMatch &match : percentPattern().globalMatch(text))
        digits = match.captured(1);
    if (digits.isEmpty())
        return std::nullopt;
    return fromDigits(digits);
}
