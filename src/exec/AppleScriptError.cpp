#include "exec/AppleScriptError.h"

QString AppleScriptError::description() const
{
    switch (kind) {
    case Kind::scriptExecutionFailed:
        return QStringLiteral("AppleScript execution failed (Error %1): %2")
            .arg(QString::number(errorNumber), text);
    case Kind::processLaunchFailed:
        return QStringLiteral("Failed to launch process: ") + text;
    case Kind::invalidOutput:
        return QStringLiteral("Invalid output: ") + text;
    case Kind::adminPrivilegesDenied:
        return QStringLiteral("Admin privileges required: ") + text;
    case Kind::timeout:
        return QStringLiteral("Operation timed out");
    }
    return {};
}
