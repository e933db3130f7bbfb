#include "media/DMGCreatorError.h"

QString DMGCreatorError::description() const
{
    switch (kind) {
    case Kind::commandFailed:
        //: %1 is what went wrong.
        return tr("Command failed: %1").arg(text);
    case Kind::unknown:
        return text;
    case Kind::processTerminated:
        //: %1 is the tool's exit status, a number.
        return tr("Process terminated with status: %1").arg(QString::number(status));
    case Kind::insufficientSpace:
        return tr("Insufficient disk space");
    case Kind::fileExists:
        return tr("File already exists");
    }
    return {};
}
