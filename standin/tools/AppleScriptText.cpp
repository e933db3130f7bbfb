#include "tools/AppleScriptText.h"

#include <QStringList>
#include <QStringView>

#include <optional>

namespace AppleScriptText {

namespace {

const QString expectedExpression = QStringLiteral("Expected expression but found end of script.");

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Walks a script from left to right. Blanks separate words; line breaks only where asked for.
class Reader {
public:
    explicit Reader(QStringView text) : m_text(text) {}

    bool atEnd()
    {
        skipBlanks();
        return m_position == m_text.size();
    }

    // A run of terms such as "do shell script", in any case, as AppleScript's keywords are.
    bool terms(QStringView words)
    {
        const qsizetype start = m_position;
        for (QStringView word : words.split(u' ')) {
            skipBlanks();
            if (!m_text.mid(m_position).startsWith(word, Qt::CaseInsensitive)) {
                m_position = start;
                return false;
            }
            m_position += word.size();
            if (m_position < m_text.size() && isWordCharacter(m_text.at(m_position))) {
                m_position = start;
                return false;
            }
        }
        return true;
    }

    bool lineBreak()
    {
        skipBlanks();
        if (m_position < m_text.size() &&
            (m_text.at(m_position) == u'\n' || m_text.at(m_position) == u'\r')) {
            ++m_position;
            return true;
        }
        return false;
    }

    // A double-quoted literal with its escapes undone; on failure `error` says what was wrong.
    std::optional<QString> string(QString *error)
    {
        skipBlanks();
        if (m_position == m_text.size() || m_text.at(m_position) != u'"') {
            *error = expectedExpression;
            return std::nullopt;
        }
        QString value;
        for (++m_position; m_position < m_text.size(); ++m_position) {
            const QChar c = m_text.at(m_position);
            if (c == u'"') {
                ++m_position;
                return value;
            }
            if (c != u'\\') {
                value += c;
                continue;
            }
            if (++m_position == m_text.size())
                break;
            switch (m_text.at(m_position).unicode()) {
            case u'\\':
                value += u'\\';
                break;
            case u'"':
                value += u'"';
                break;
            case u'n':
                value += u'\n';
                break;
            case u'r':
                value += u'\r';
                break;
            case u't':
                value += u'\t';
                break;
            default:
                *error = QStringLiteral("Expected “\"” but found unknown token.");
                return std::nullopt;
            }
        }
        *error = QStringLiteral("Expected “\"” but found end of script.");
        return std::nullopt;
    }

private:
    void skipBlanks()
    {
        while (m_position < m_text.size() && isBlank(m_text.at(m_position)))
            ++m_position;
    }

    QStringView m_text;
    qsizetype m_position = 0;
};

Script parseShellScript(Reader &reader)
{
    QString error;
    const std::optional<QString> command = reader.string(&error);
    if (!command)
        return SyntaxError{error};
    if (reader.atEnd())
        return ShellScript{*command, false};
    if (reader.terms(u"with administrator privileges") && reader.atEnd())
        return ShellScript{*command, true};
    return SyntaxError{expectedExpression};
}

Script parseVolumeIcon(Reader &reader)
{
    QString error;
    const std::optional<QString> application = reader.string(&error);
    if (!application)
        return SyntaxError{error};
    if (*application != QLatin1String("Finder") || !reader.lineBreak() ||
        !reader.terms(u"set icon of disk"))
        return SyntaxError{expectedExpression};
    const std::optional<QString> volumeName = reader.string(&error);
    if (!volumeName)
        return SyntaxError{error};
    if (!reader.terms(u"to POSIX file"))
        return SyntaxError{expectedExpression};
    const std::optional<QString> iconPath = reader.string(&error);
    if (!iconPath)
        return SyntaxError{error};
    if (!reader.lineBreak() || !reader.terms(u"end tell") || !reader.atEnd())
        return SyntaxError{expectedExpression};
    return VolumeIcon{*volumeName, *iconPath};
}

Script parseNotification(Reader &reader)
{
    QString error;
    const std::optional<QString> text = reader.string(&error);
    if (!text)
        return SyntaxError{error};
    if (!reader.terms(u"with title"))
        return SyntaxError{expectedExpression};
    const std::optional<QString> title = reader.string(&error);
    if (!title)
        return SyntaxError{error};
    if (!reader.atEnd())
        return SyntaxError{expectedExpression};
    return Notification{*text, *title};
}

} // namespace

Script parse(const QString &source)
{
    // Blank lines around a statement mean nothing to AppleScript; a script read from standard
    // input usually ends in one.
    Reader reader(QStringView(source).trimmed());
    if (reader.terms(u"do shell script"))
        return parseShellScript(reader);
    if (reader.terms(u"tell application"))
        return parseVolumeIcon(reader);
    if (reader.terms(u"display notification"))
        return parseNotification(reader);
    return SyntaxError{expectedExpression};
}

} // namespace AppleScriptText
