#include "media/USBCreatorError.h"

QString USBCreatorError::description() const
{
    switch (kind) {
    case Kind::commandFailed:
        return QStringLiteral("Command failed: ") + text;
    case Kind::invalidInstaller:
        return QStringLiteral("Invalid installer: ") + text;
    case Kind::invalidTargetDisk:
        return QStringLiteral("Invalid target disk: ") + text;
    case Kind::volumeNotFound:
        return QStringLiteral("Volume not found at path: ") + text;
    case Kind::unknown:
        return text;
    case Kind::processTerminated:
        return QStringLiteral("Process terminated with status: %1").arg(status);
    case Kind::insufficientSpace:
        return QStringLiteral("Insufficient disk space");
    case Kind::adminPrivilegesDenied:
        return QStringLiteral("Admin privileges required but not granted");
    case Kind::timeoutExceeded:
        return QStringLiteral("Operation timed out");
    }
    return {};
}
