#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// What `softwareupdate --fetch-full-installer --full-installer-version V` has said so far.
//
// Run on a pseudo-terminal the tool prints "Scanning for V installer", then "Installing: 39.0%"
// redrawn in place after a carriage return, then clears the line ("\r\x1b[K") and ends with
// "Install finished successfully" or "Install failed with error: REASON", the terminal driver
// turning every line break into "\r\n". Through a pipe it prints the same lines and no progress.
// The reader takes the bytes as they arrive, cut anywhere (inside a character, an escape sequence
// or a "\r\n"), and removes escape sequences: CSI ("ESC [ params letter") and the short ESC forms
// a terminal reads, and an ESC that begins none of them. A line that never ends keeps only its
// first `pendingLineLimit` bytes, so a tool that floods its output cannot fill the memory.
class FullInstallerFetchOutput {
public:
    static constexpr qsizetype pendingLineLimit = 64 * 1024;
    // The finished lines kept; older ones are dropped first.
    static constexpr qsizetype keptLineLimit = 256;

    // Reads the next bytes; true when percent() or lines() changed, so a progress view is
    // updated only when there is something new to show.
    bool feed(QByteArrayView bytes);
    // The end of the output: a last line without a line break counts. True when that changed
    // percent() or lines().
    bool finish();

    // The latest progress figure, 0 to 100; nullopt before any (and always through a pipe).
    // A figure lower than the one before is reported as it is: the tool may start its count
    // again for a later phase, and the view shows what the tool says.
    std::optional<double> percent() const { return m_percent; }
    // The finished lines without escapes, progress redraws or trailing spaces; blank lines are
    // dropped. A text overwritten after a carriage return that is not progress is a line too.
    QStringList lines() const { return m_lines; }
    // The reason of "Install failed with error: REASON" (empty when the tool gave none); the
    // latest such line counts.
    std::optional<QString> failure() const { return m_failure; }
    // The "Error Domain=…" line right after the failure line, when the tool printed one.
    std::optional<QString> failureDetail() const { return m_failureDetail; }
    // "Install finished successfully" came, and no failure line after it.
    bool succeeded() const { return m_succeeded; }

private:
    enum class Escape { none, started, control, intermediate };

    void readByte(char byte);
    void appendToSegment(char byte);
    // Ends the text since the last carriage return or line break: progress, a line, or nothing.
    void closeSegment();
    void noteLine(const QString &line);

    QByteArray m_segment; // the open line since its last carriage return, escapes removed
    bool m_segmentCut = false;
    Escape m_escape = Escape::none;
    std::optional<double> m_percent;
    QStringList m_lines;
    qint64 m_linesSeen = 0;
    std::optional<QString> m_failure;
    std::optional<QString> m_failureDetail;
    bool m_detailMayFollow = false;
    bool m_succeeded = false;
};
