#include "model/SudoPasswordCheck.h"

bool sudoRejectedPassword(const QString &errorChunk)
{
    return errorChunk.contains(QLatin1String("incorrect password")) ||
           errorChunk.contains(QLatin1String("Sorry, try again"));
}

QString withoutSudoPrompt(const QString &errorChunk)
{
    QStringView rest = errorChunk;
    while (rest.startsWith(QLatin1String(sudoPrompt)))
        rest = rest.mid(qsizetype(sizeof sudoPrompt) - 1);
    return rest.toString();
}
