#pragma once

#include <QString>

#include <chrono>

// The ways the disk services can fail, each with the text the user reads.
struct DiskUtilityError {
    enum class Kind {
        commandFailed,
        parsingFailed,
        // diskutil could not be started at all; `text` is the platform's own explanation.
        launchFailed,
        // A tool did not answer within its time limit and was ended; `text` names the tool.
        timedOut,
        // diskutil did not say which disk the Mac started from, so no volume can be told safe.
        startupDiskUnknown,
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

    static DiskUtilityError timedOut(const QString &tool, std::chrono::milliseconds limit)
    {
        return {Kind::timedOut, tool, limit};
    }
    static DiskUtilityError startupDiskUnknown() { return {Kind::startupDiskUnknown, {}}; }

    // In the user's language.
    QString description() const { return describe(true); }
    // The same in English, for diagnostic lines.
    QString englishDescription() const { return describe(false); }

    Kind kind;
    QString text;
    // Of a time-out: the limit that passed.
    std::chrono::milliseconds limit{0};

    friend bool operator==(const DiskUtilityError &, const DiskUtilityError &) = default;

private:
    QString describe(bool translated) const;
};
