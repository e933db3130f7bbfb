#pragma once

#include <QCoreApplication>
#include <QString>

// The ways running a script can fail, each with the text the user reads.
struct AppleScriptError {
    enum class Kind {
        scriptExecutionFailed,
        processLaunchFailed,
        invalidOutput,
        adminPrivilegesDenied,
        timeout,
    };

    static AppleScriptError scriptExecutionFailed(qint64 errorNumber, const QString &message)
    {
        return {Kind::scriptExecutionFailed, errorNumber, message};
    }
    // `underlyingError` is the platform's description of why the launch failed.
    static AppleScriptError processLaunchFailed(const QString &underlyingError)
    {
        return {Kind::processLaunchFailed, 0, underlyingError};
    }
    static AppleScriptError invalidOutput(const QString &text)
    {
        return {Kind::invalidOutput, 0, text};
    }
    static AppleScriptError adminPrivilegesDenied(const QString &text)
    {
        return {Kind::adminPrivilegesDenied, 0, text};
    }
    static AppleScriptError timeout() { return {Kind::timeout, 0, {}}; }

    QString description() const;

    Kind kind;
    qint64 errorNumber;
    QString text;

    Q_DECLARE_TR_FUNCTIONS(AppleScriptError)
};
