#include "model/InstallMediaOutputLine.h"

QString InstallMediaOutputLine::readable(const QString &chunk)
{
    static const char *const phrases[] = {"erasing disk", "copying to disk",
                                          "copying installer files"};
    const QString lower = chunk.toLower();
    qsizetype lastPhraseAt = -1;
    QString lastPhrase;
    for (const char *phrase : phrases) {
        const qsizetype at = lower.lastIndexOf(QLatin1String(phrase));
        if (at > lastPhraseAt) {
            lastPhraseAt = at;
            lastPhrase = QLatin1String(phrase);
        }
    }

    QString result = chunk;
    if (lastPhraseAt >= 0)
        m_openPhrase = lastPhrase;
    else if (!m_openPhrase.isEmpty())
        result = m_openPhrase + QStringLiteral(": ") + chunk;
    // A line break closes the line, and with it the phase it spoke of.
    if (lower.indexOf(u'\n', std::max<qsizetype>(lastPhraseAt, 0)) >= 0)
        m_openPhrase.clear();
    return result;
}
