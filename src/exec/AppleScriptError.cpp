#include "exec/AppleScriptError.h"

QString AppleScriptError::description() const
{
    switch (kind) {
    case Kind::scriptExecutionFailed:
        //: %1 is the script engine's error number, %2 its message
        return tr("AppleScript execution failed (Error %1): %2")
            .arg(QString::number(errorNumber), text);
    case Kind::processLaunchFailed:
        //: %1 is the system's reason
        return tr("Failed to launch process: %1").arg(text);
    case Kind::invalidOutput:
        return tr("Invalid output: %1").arg(text);
    case Kind::adminPrivilegesDenied:
        return tr("Admin privileges required: %1").arg(text);
    case Kind::timeout:
        return tr("Operation timed out");
    }
    return {};
}
