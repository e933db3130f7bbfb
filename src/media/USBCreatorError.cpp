#include "media/USBCreatorError.h"

QString USBCreatorError::description() const
{
    switch (kind) {
    case Kind::commandFailed:
        //: %1 is what went wrong.
        return tr("Command failed: %1").arg(text);
    case Kind::invalidInstaller:
        //: %1 is what is wrong with it.
        return tr("Invalid installer: %1").arg(text);
    case Kind::invalidTargetDisk:
        //: %1 is what is wrong with it.
        return tr("Invalid target disk: %1").arg(text);
    case Kind::volumeNotFound:
        return tr("Volume not found at path: %1").arg(text);
    case Kind::unknown:
        return text;
    case Kind::processTerminated:
        //: %1 is the tool's exit status, a number.
        return tr("Process terminated with status: %1").arg(QString::number(status));
    case Kind::insufficientSpace:
        return tr("Insufficient disk space");
    case Kind::adminPrivilegesDenied:
        return tr("Admin privileges required but not granted");
    case Kind::timeoutExceeded:
        return tr("Operation timed out");
    }
    return {};
}
