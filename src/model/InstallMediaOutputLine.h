#pragma once

#include <QString>

// createinstallmedia prints a phase's percentages on one line as they advance ("Copying to disk:
// 0%... 10%... 20%... "), so a reader gets pieces such as "10%... " that name no phase. This
// remembers which phase the open line belongs to and gives such pieces their phase back, so the
// rules that read the tool's output by its phrases see every percentage of the phase.
class InstallMediaOutputLine {
public:
    // The text the phrase rules should read for `chunk`: the chunk itself, or, for a piece of an
    // open line that names no phase, the phase's phrase, ": " and the piece.
    QString readable(const QString &chunk);

private:
    QString m_openPhrase;
};
