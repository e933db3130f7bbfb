#include "model/FullInstallerFetchOutput.h"

#include "model/Utf8Text.h"

#include <algorithm>
#include <utility>

namespace {

constexpr QByteArrayView failurePrefix = "install failed with error:";
constexpr QByteArrayView successLine = "install finished successfully";
constexpr QByteArrayView detailPrefix = "Error Domain=";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

QByteArrayView trimmedBlanks(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

bool startsWithCaseless(QByteArrayView text, QByteArrayView prefix)
{
    return text.size() >= prefix.size() &&
           text.first(prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0;
}

// The figure of a progress redraw, "Installing: 39.0%" (also "39%", "39,5%", any one-to-few
// word label); nullopt for any other text. Figures beyond 100 are read as 100.
std::optional<double> progressFigure(QByteArrayView segment)
{
    QByteArrayView text = trimmedBlanks(segment);
    constexpr qsizetype longestReading = 64;
    if (text.size() > longestReading || !text.endsWith('%') ||
        startsWithCaseless(text, failurePrefix))
        return std::nullopt;
    text = trimmedBlanks(text.chopped(1));
    qsizetype numberStart = text.size();
    while (numberStart > 0 && (isDigit(text.at(numberStart - 1)) ||
                               text.at(numberStart - 1) == '.' || text.at(numberStart - 1) == ','))
        --numberStart;
    QByteArray number = text.sliced(numberStart).toByteArray();
    number.replace(',', '.');
    bool read = false;
    const double figure = number.toDouble(&read);
    if (!read || !isDigit(number.front()) || !isDigit(number.back()))
        return std::nullopt;
    const QByteArrayView label = trimmedBlanks(text.first(numberStart));
    if (!label.endsWith(':'))
        return std::nullopt;
    const QByteArrayView words = trimmedBlanks(label.chopped(1));
    if (words.isEmpty() || !isLetter(words.front()) ||
        !std::all_of(words.begin(), words.end(), [](char c) { return isLetter(c) || c == ' '; }))
        return std::nullopt;
    return std::clamp(figure, 0.0, 100.0);
}

} // namespace

bool FullInstallerFetchOutput::feed(QByteArrayView bytes)
{
    const std::optional<double> percentBefore = m_percent;
    const qint64 linesBefore = m_linesSeen;
    for (const char byte : bytes)
        readByte(byte);
    // A redraw stays open until the next carriage return; its figure counts as soon as its "%"
    // has come. Only a short open line can be one.
    if (m_segment.size() <= 128)
        if (const auto figure = progressFigure(m_segment))
            m_percent = figure;
    return m_percent != percentBefore || m_linesSeen != linesBefore;
}

bool FullInstallerFetchOutput::finish()
{
    const std::optional<double> percentBefore = m_percent;
    const qint64 linesBefore = m_linesSeen;
    m_escape = Escape::none;
    closeSegment();
    return m_percent != percentBefore || m_linesSeen != linesBefore;
}

void FullInstallerFetchOutput::readByte(char byte)
{
    const auto b = uchar(byte);
    switch (m_escape) {
    case Escape::none:
        break;
    case Escape::started:
        // ESC [ opens a control sequence; ESC then an intermediate byte opens a character set
        // choice ("ESC ( B"); ESC then any other printable byte is a whole two-byte command.
        if (b == '[') {
            m_escape = Escape::control;
            return;
        }
        if (b >= 0x20 && b <= 0x2F) {
            m_escape = Escape::intermediate;
            return;
        }
        m_escape = Escape::none;
        if (b >= 0x30 && b <= 0x7E)
            return;
        break; // a lone ESC: the byte after it is read as usual
    case Escape::control:
        if (b >= 0x20 && b <= 0x3F)
            return; // parameters and intermediates
        m_escape = Escape::none;
        if (b >= 0x40 && b <= 0x7E)
            return; // the final letter
        break;      // cut short by a control or a non-ASCII byte, which is read as usual
    case Escape::intermediate:
        if (b >= 0x20 && b <= 0x2F)
            return;
        m_escape = Escape::none;
        if (b >= 0x30 && b <= 0x7E)
            return;
        break;
    }

    if (b == '\r' || b == '\n') {
        // The terminal's "\r\n" is a carriage return that closes the text and a line break that
        // closes nothing more.
        closeSegment();
    } else if (b == 0x1B) {
        m_escape = Escape::started;
    } else if (b == '\t' || (b >= 0x20 && b != 0x7F)) {
        appendToSegment(byte);
    }
    // Other control characters (a bell, a backspace) show nothing.
}

void FullInstallerFetchOutput::appendToSegment(char byte)
{
    if (m_segment.size() < pendingLineLimit)
        m_segment.append(byte);
    else
        m_segmentCut = true;
}

void FullInstallerFetchOutput::closeSegment()
{
    if (m_segmentCut)
        m_segment.chop(unfinishedTailLength(m_segment));
    if (const auto figure = progressFigure(m_segment)) {
        m_percent = figure;
    } else {
        QString line = QString::fromUtf8(m_segment);
        qsizetype end = line.size();
        while (end > 0 && line.at(end - 1).isSpace())
            --end;
        line.truncate(end);
        if (!line.trimmed().isEmpty())
            noteLine(line);
    }
    m_segment.clear();
    m_segmentCut = false;
}

void FullInstallerFetchOutput::noteLine(const QString &line)
{
    ++m_linesSeen;
    m_lines.append(line);
    if (m_lines.size() > keptLineLimit)
        m_lines.removeFirst();

    const QString text = line.trimmed();
    const QByteArray ascii =
        text.left(std::max(failurePrefix.size(), successLine.size())).toLatin1();
    const bool detailMayFollow = std::exchange(m_detailMayFollow, false);
    if (startsWithCaseless(ascii, failurePrefix)) {
        m_failure = text.mid(failurePrefix.size()).trimmed();
        m_failureDetail.reset();
        m_detailMayFollow = true;
        m_succeeded = false;
    } else if (detailMayFollow && text.startsWith(QLatin1StringView(detailPrefix))) {
        m_failureDetail = text;
    } else if (startsWithCaseless(ascii, successLine)) {
        m_succeeded = true;
    }
}
