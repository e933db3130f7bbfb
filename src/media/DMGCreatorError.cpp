#include "media/DMGCreatorError.h"

QString DMGCreatorError::description() const
{
    switch (kind) {
    case Kind::commandFailed:
        return QStringLiteral("Command failed: ") + text;
    case Kind::unknown:
        return text;
    case Kind::processTerminated:
        return QStringLiteral("Process terminated with status: ") + QString::number(status);
    case Kind::insufficientSpace:
        return QStringLiteral("Insufficient disk space");
    case Kind::fileExists:
        return QStringLiteral("File already exists");
    }
    return {};
}
