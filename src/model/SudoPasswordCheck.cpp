#include "model/SudoPasswordCheck.h"

bool sudoRejectedPassword(const QString &errorChunk)
{
    return errorChunk.contains(QLatin1String("incorrect password")) ||
           errorChunk.contains(QLatin1String("Sorry, try again"));
}
