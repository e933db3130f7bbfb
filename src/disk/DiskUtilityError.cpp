#include "disk/DiskUtilityError.h"

QString DiskUtilityError::description() const
{
    switch (kind) {
    case Kind::commandFailed:
        return QStringLiteral("Command failed: ") + text;
    case Kind::parsingFailed:
        return QStringLiteral("Failed to parse disk information");
    case Kind::launchFailed:
    case Kind::timedOut:
        return text;
    case Kind::startupDiskUnknown:
        return QStringLiteral("diskutil did not say which disk this Mac started from, so no disk "
                              "can be offered safely");
    }
    return {};
}

DiskUtilityError DiskUtilityError::timedOut(const QString &tool, std::chrono::milliseconds limit)
{
    // Whole seconds as people read them; a shrunk limit keeps its fraction.
    const double seconds = double(limit.count()) / 1000.0;
    const QString unit = seconds == 1.0 ? QStringLiteral("second") : QStringLiteral("seconds");
    return {Kind::timedOut, QStringLiteral("%1 did not answer within %2 %3")
                                .arg(tool, QString::number(seconds, 'g', 6), unit)};
}
