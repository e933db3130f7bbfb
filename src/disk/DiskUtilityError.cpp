#include "disk/DiskUtilityError.h"

QString DiskUtilityError::description() const
{
    switch (kind) {
    case Kind::commandFailed:
        return QStringLiteral("Command failed: ") + text;
    case Kind::parsingFailed:
        return QStringLiteral("Failed to parse disk information");
    case Kind::launchFailed:
        return text;
    }
    return {};
}
