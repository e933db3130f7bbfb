#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// What createinstallmedia has said so far, from OS X El Capitan's installer to today's.
//
// Every era names a phase with a phrase at the start of a line and prints the phase's progress
// on that same line ("Erasing disk: 0%... 10%... "), the line break coming only when the phase
// ends; from Mojave on, erasing and every error go to standard error and the rest to standard
// output. The reader is fed each stream's chunks as they arrive, cut anywhere, and keeps the
// phase, the latest percentage printed for it and the tool's own lines for a failure. It never
// decides that the run is over: "Copy complete." and "Done." come before the end on older
// installers, and only the tool's exit says how the run went.
class InstallMediaOutput {
public:
    enum class Stream { output, error };
    // In the order El Capitan to Big Sur go through them; from Monterey on the disk is made
    // bootable before the copy.
    enum class Phase {
        starting,
        erasing,          // "Erasing disk: 0%... 10%..."
        preparing,        // Ventura on: "Copying essential files...", "... the macOS RecoveryOS..."
        copying,          // "Copying to disk: 40%"; up to High Sierra "Copying installer files..."
        makingBootable,   // "Making disk bootable..."
        copyingBootFiles, // up to Catalina: "Copying boot files..."
        finishing, // "Install media now available at …", "Done.": the exit is still to come
    };

    void read(Stream stream, QStringView chunk);

    Phase phase() const { return m_phase; }
    // The latest percentage the tool printed for the current phase, 0 to 100.
    std::optional<double> percent() const { return m_percent; }
    // Monterey and later make the disk bootable before they copy.
    bool bootableBeforeCopy() const { return m_bootableBeforeCopy; }
    // How far through its work the tool is, 0 to 99. It never goes back, and 100 belongs to the
    // tool's exit, not to anything it prints.
    double progress() const { return m_progress; }
    // What to show of the current phase, e.g. "Copying macOS installer: 40% complete".
    QString message() const;
    // The tool's own account of a failure: the last meaningful lines of its error output (or of
    // its standard output when it wrote no error line), without its log lines' time stamps.
    QString failure() const;

    Q_DECLARE_TR_FUNCTIONS(InstallMediaOutput)

private:
    struct StreamState {
        QString line;                       // the open line as received, up to a limit
        std::optional<qsizetype> candidate; // where a phrase may have begun in the open line
        QString sought;                     // the open line from there on, in lower case
        bool afterGlue = false;             // a glue character came, and only spaces since
        qsizetype length = 0;               // characters in the open line so far
        qsizetype textStart = -1;           // where the open line's first non-blank character is
        std::optional<double> digitsValue;  // the number just read, for a following "%"
        std::optional<Phase> linePhase;     // the phase the open line named
        bool progressLine = false;          // the open line began with a phase's phrase
        QStringList meaningful;             // the last lines that are neither progress nor blank
    };

    void readCharacter(StreamState &state, QChar c);
    void closeLine(StreamState &state);
    int rankOf(Phase phase) const;
    void enter(Phase phase);
    void notePercent(const StreamState &state);
    static bool isMeaningful(const StreamState &state);
    // The stream's meaningful lines, its open line included.
    static QStringList meaningfulLines(const StreamState &state);

    StreamState m_output;
    StreamState m_error;
    Phase m_phase = Phase::starting;
    std::optional<double> m_percent;
    bool m_copied = false;
    bool m_bootableBeforeCopy = false;
    double m_progress = 0;
};
