#pragma once

#include <QByteArrayView>
#include <QString>

// What the disk image steps show of hdiutil's answers: progress dots and "created: PATH" on
// standard output while it works, "hdiutil: VERB failed - REASON" on standard error when it fails.

// The progress message for one decoded piece of standard output, under the step's `prefix`
// ("Creating DMG: ").
QString hdiutilProgressMessage(const QString &prefix, const QString &piece);

// The reason a failed run gives: its whole standard error as text, a byte sequence that is not
// UTF-8 shown as the replacement character.
QString hdiutilFailureReason(QByteArrayView standardError);
