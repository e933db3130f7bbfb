#include "host/UserLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Where the build puts the compiled translations, inside the program.
const char *const translationFolder = ":/i18n";

// "de-CH" and "de_DE" speak "de"; the program's translations are by language only.
QString languageOf(const QString &uiLanguage)
{
    return uiLanguage.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
}

void install(const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(name, folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

QStringList translatedLanguages()
{
    QStringList languages;
    const QStringList files =
        QDir(QString::fromLatin1(translationFolder))
            .entryList({QStringLiteral("tessaline_*.qm")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        languages << file.mid(int(qstrlen("tessaline_"))).chopped(int(qstrlen(".qm")));
    return languages;
}

QString installUserLanguage(const QLocale &locale)
{
    const QStringList offered = translatedLanguages();
    for (const QString &preferred : locale.uiLanguages()) {
        const QString language = languageOf(preferred);
        if (language == u"en" || language == u"c")
            break;
        if (!offered.contains(language))
            continue;
        install(QStringLiteral("tessaline_") + language, QString::fromLatin1(translationFolder));
        install(QStringLiteral("qtbase_") + language,
                QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        return language;
    }
    return QStringLiteral("en");
}
