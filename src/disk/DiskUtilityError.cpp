#include "disk/DiskUtilityError.h"

#include <QCoreApplication>

QString DiskUtilityError::describe(bool translated) const
{
    const auto text = [translated](const char *source) {
        return translated ? QCoreApplication::translate("DiskUtilityError", source)
                          : QString::fromUtf8(source);
    };
    switch (kind) {
    case Kind::commandFailed:
        //: %1 is what the failing diskutil command said
        return text(QT_TRANSLATE_NOOP("DiskUtilityError", "Command failed: %1")).arg(this->text);
    case Kind::parsingFailed:
        return text(QT_TRANSLATE_NOOP("DiskUtilityError", "Failed to parse disk information"));
    case Kind::launchFailed:
        return this->text;
    case Kind::timedOut: {
        // Whole seconds as people read them; a shrunk limit keeps its fraction.
        const double seconds = double(limit.count()) / 1000.0;
        const QString count = QString::number(seconds, 'g', 6);
        //: %1 is a tool such as diskutil, %2 a number of seconds
        const char *source =
            QT_TRANSLATE_NOOP("DiskUtilityError", "%1 did not answer within %2 seconds");
        if (seconds == 1.0)
            //: %1 is a tool such as diskutil, %2 the number 1
            source = QT_TRANSLATE_NOOP("DiskUtilityError", "%1 did not answer within %2 second");
        return text(source).arg(this->text, count);
    }
    case Kind::startupDiskUnknown:
        return text(QT_TRANSLATE_NOOP("DiskUtilityError",
                                      "diskutil did not say which disk this Mac started from, so "
                                      "no disk can be offered safely"));
    }
    return {};
}
