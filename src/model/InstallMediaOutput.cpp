#include "model/InstallMediaOutput.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

using Phase = InstallMediaOutput::Phase;

struct Phrase {
    QLatin1StringView text;
    Phase phase;
};

// How each era names its phases, in lower case; each begins a line.
constexpr Phrase phrases[] = {
    {QLatin1StringView("erasing disk"), Phase::erasing},
    {QLatin1StringView("copying essential files"), Phase::preparing},
    {QLatin1StringView("copying the macos recoveryos"), Phase::preparing},
    {QLatin1StringView("copying to disk"), Phase::copying},
    {QLatin1StringView("copying installer files"), Phase::copying},
    {QLatin1StringView("making disk bootable"), Phase::makingBootable},
    {QLatin1StringView("copying boot files"), Phase::copyingBootFiles},
    {QLatin1StringView("install media now available"), Phase::finishing},
};
constexpr qsizetype longestPhrase = [] {
    qsizetype longest = 0;
    for (const Phrase &phrase : phrases)
        longest = std::max(longest, phrase.text.size());
    return longest;
}();

// What may come right before a phrase glued to another message's end ("… 40%... Install media
// now available", sudo's "Password:Erasing disk"); phrases themselves hold none of these.
bool isGlue(QChar c)
{
    return c == u')' || c == u'.' || c == u':';
}
// Enough of a line for any message the tool prints; the rest is read but not kept.
constexpr qsizetype keptLineLength = 1024;
constexpr qsizetype keptLines = 4;
constexpr qsizetype failureLines = 2;

bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    if (u <= u'\r')
        return u >= u'\n';
    return u == 0x85 || u == 0x2028 || u == 0x2029;
}

bool isDone(QStringView trimmed)
{
    return trimmed.compare(QLatin1String("done."), Qt::CaseInsensitive) == 0 ||
           trimmed.compare(QLatin1String("done"), Qt::CaseInsensitive) == 0;
}

// A line that only says how a phase went, which a failure message has no use for.
bool isPhaseEnd(QStringView trimmed)
{
    return trimmed.startsWith(QLatin1String("copy complete"), Qt::CaseInsensitive) ||
           isDone(trimmed);
}

// "2021-02-21 23:36:23.572 createinstallmedia[4521:138308] There was an error …" keeps only
// what follows the time stamp and the process.
QString withoutLogPrefix(const QString &line)
{
    if (line.isEmpty() || !line.front().isDigit())
        return line;
    static const QRegularExpression prefix(QStringLiteral(
        "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d(?:\\.\\d+)? \\S+\\[[0-9A-Fa-fx:]+\\] +"));
    return QString(line).remove(prefix);
}

// The tool sometimes ends one message and begins the next without a line break ("… (error code
// 110)The bless of the installer disk failed."); a capitalised word right after a closing
// bracket or full stop starts a new line.
QStringList unglued(const QString &line)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 1; i + 1 < line.size(); ++i) {
        const QChar before = line.at(i - 1);
        const QChar c = line.at(i);
        const QChar after = line.at(i + 1);
        if ((before == u')' || before == u'.') && c >= u'A' && c <= u'Z' &&
            (after.isLower() || after == u' ')) {
            parts << line.mid(start, i - start).trimmed();
            start = i;
        }
    }
    parts << line.mid(start).trimmed();
    parts.removeAll(QString());
    return parts;
}

double progressOf(Phase phase, std::optional<double> percent, bool bootableBeforeCopy)
{
    switch (phase) {
    case Phase::starting:
        return 0;
    case Phase::erasing:
        return percent.value_or(0) * 0.10;
    case Phase::preparing:
        return 12;
    case Phase::makingBootable:
        return bootableBeforeCopy ? 15 : 96;
    case Phase::copying:
        return 20 + percent.value_or(0) * 0.75;
    case Phase::copyingBootFiles:
        return 97;
    case Phase::finishing:
        return 99;
    }
    return 0;
}

} // namespace

void InstallMediaOutput::read(Stream stream, QStringView chunk)
{
    StreamState &state = stream == Stream::output ? m_output : m_error;
    for (const QChar c : chunk) {
        if (isLineBreak(c))
            closeLine(state);
        else
            readCharacter(state, c);
    }
    m_progress = std::max(m_progress, progressOf(m_phase, m_percent, m_bootableBeforeCopy));
}

void InstallMediaOutput::readCharacter(StreamState &state, QChar c)
{
    if (state.line.size() < keptLineLength)
        state.line += c;
    if (state.textStart < 0 && !c.isSpace())
        state.textStart = state.length;
    ++state.length;

    if (c >= u'0' && c <= u'9') {
        // Digits beyond any real percentage saturate; they are read as 100.
        state.digitsValue = state.digitsValue.value_or(0) * 10 + (c.unicode() - u'0');
        return;
    }
    if (c == u'%')
        notePercent(state);
    state.digitsValue.reset();

    // A phrase begins either the line's text or the text after a glue character and spaces; so
    // there is at most one place where a phrase may be under way, and a character far from it
    // costs nothing more.
    if (isGlue(c)) {
        state.afterGlue = true;
        state.candidate.reset();
        return;
    }
    const bool space = c.isSpace();
    if (!space && (state.afterGlue || state.length - 1 == state.textStart)) {
        state.candidate = state.length - 1;
        state.afterGlue = false;
        state.sought.truncate(0);
    }
    if (!state.candidate)
        return;
    state.sought += c.toLower();
    if (state.sought.size() > longestPhrase) {
        state.candidate.reset();
        return;
    }
    for (const Phrase &phrase : phrases) {
        if (phrase.text != state.sought)
            continue;
        const bool atLineStart = *state.candidate == state.textStart;
        state.linePhase = phrase.phase;
        state.progressLine = state.progressLine || atLineStart;
        enter(phrase.phase);
        state.candidate.reset();
        return;
    }
}

void InstallMediaOutput::notePercent(const StreamState &state)
{
    // A figure counts for the phase its own line named, never for one the other stream began.
    if (!state.digitsValue || state.linePhase != m_phase)
        return;
    m_percent = std::min(*state.digitsValue, 100.0);
}

// Where a phase comes in a run. Monterey and later make the disk bootable before the copy,
// older installers after it.
int InstallMediaOutput::rankOf(Phase phase) const
{
    switch (phase) {
    case Phase::starting:
        return 0;
    case Phase::erasing:
        return 1;
    case Phase::preparing:
        return 2;
    case Phase::makingBootable:
        return m_copied ? 5 : 3;
    case Phase::copying:
        return 4;
    case Phase::copyingBootFiles:
        return 6;
    case Phase::finishing:
        return 7;
    }
    return 0;
}

void InstallMediaOutput::enter(Phase phase)
{
    // A phase that is over does not come back: when both streams are read only at the end, the
    // erase on standard error is read after the copy on standard output.
    if (rankOf(phase) <= rankOf(m_phase))
        return;
    if (phase == Phase::copying)
        m_copied = true;
    if (phase == Phase::makingBootable && !m_copied)
        m_bootableBeforeCopy = true;
    m_phase = phase;
    m_percent.reset();
}

void InstallMediaOutput::closeLine(StreamState &state)
{
    const QStringView trimmed = QStringView(state.line).trimmed();
    if (isPhaseEnd(trimmed)) {
        // Up to High Sierra the copy ends with "Copy complete." and so does the whole run.
        if (m_phase == Phase::copying)
            m_percent = 100;
        else if (m_phase == Phase::makingBootable || m_phase == Phase::copyingBootFiles ||
                 isDone(trimmed))
            enter(Phase::finishing);
    }
    if (isMeaningful(state))
        state.meaningful += unglued(withoutLogPrefix(trimmed.toString()));
    if (state.meaningful.size() > keptLines)
        state.meaningful.remove(0, state.meaningful.size() - keptLines);
    // Emptied, not freed: the next line reuses the room.
    state.line.truncate(0);
    state.sought.truncate(0);
    state.candidate.reset();
    state.afterGlue = false;
    state.length = 0;
    state.textStart = -1;
    state.digitsValue.reset();
    state.linePhase.reset();
    state.progressLine = false;
}

bool InstallMediaOutput::isMeaningful(const StreamState &state)
{
    const QStringView trimmed = QStringView(state.line).trimmed();
    return !trimmed.isEmpty() && !state.progressLine && !isPhaseEnd(trimmed);
}

QStringList InstallMediaOutput::meaningfulLines(const StreamState &state)
{
    if (!isMeaningful(state))
        return state.meaningful;
    return state.meaningful + unglued(withoutLogPrefix(state.line.trimmed()));
}

QString InstallMediaOutput::message() const
{
    switch (m_phase) {
    case Phase::starting:
        return {};
    case Phase::erasing:
        return tr("Erasing target disk for installation");
    case Phase::preparing:
        return tr("Copying essential installer files");
    case Phase::copying:
        if (m_percent)
            //: %1 is a whole number of percent
            return tr("Copying macOS installer: %1% complete")
                .arg(QString::number(std::trunc(*m_percent), 'f', 0));
        return tr("Copying macOS installer files");
    case Phase::makingBootable:
        return tr("Creating bootable configuration");
    case Phase::copyingBootFiles:
        return tr("Copying boot files");
    case Phase::finishing:
        return tr("Finalizing bootable media");
    }
    return {};
}

QString InstallMediaOutput::failure() const
{
    QStringList lines = meaningfulLines(m_error);
    if (lines.isEmpty())
        lines = meaningfulLines(m_output);
    return lines.mid(std::max<qsizetype>(0, lines.size() - failureLines)).join(u'\n');
}
