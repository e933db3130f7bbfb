#pragma once

#include <QString>

// The ways the disk services can fail, each with the text the user reads.
struct DiskUtilityError {
    enum class Kind {
        commandFailed,
        parsingFailed,
        // diskutil could not be started at all; `text` is the platform's own explanation.
        launchFailed,
    };

    static DiskUtilityError commandFailed(const QString &text)
    {
        return {Kind::commandFailed, text};
    }
    static DiskUtilityError parsingFailed() { return {Kind::parsingFailed, {}}; }
    static DiskUtilityError launchFailed(const QString &platformError)
    {
        return {Kind::launchFailed, platformError};
    }

    QString description() const;

    Kind kind;
    QString text;

    friend bool operator==(const DiskUtilityError &, const DiskUtilityError &) = default;
};
