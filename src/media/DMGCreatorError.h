#pragma once

#include <QCoreApplication>
#include <QString>

// The ways making a disk image can fail, each with the text the user reads.
struct DMGCreatorError {
    Q_DECLARE_TR_FUNCTIONS(DMGCreatorError)

public:
    enum class Kind {
        commandFailed,
        unknown,
        processTerminated,
        insufficientSpace,
        fileExists,
    };

    static DMGCreatorError commandFailed(const QString &text)
    {
        return {Kind::commandFailed, text, 0};
    }
    static DMGCreatorError unknown(const QString &text) { return {Kind::unknown, text, 0}; }
    static DMGCreatorError processTerminated(qint32 status)
    {
        return {Kind::processTerminated, {}, status};
    }
    static DMGCreatorError insufficientSpace() { return {Kind::insufficientSpace, {}, 0}; }
    static DMGCreatorError fileExists() { return {Kind::fileExists, {}, 0}; }

    QString description() const;

    Kind kind;
    QString text;
    qint32 status;

    friend bool operator==(const DMGCreatorError &, const DMGCreatorError &) = default;
};
