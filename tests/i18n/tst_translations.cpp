// The shipped translations against the code as it stands: lupdate reads the sources again into
// copies of the translation files, and every text found must have a translation in each
// language that keeps its placeholders and the spacing it is joined to other text by. Also the
// choice of language at start-up.

#include "host/UserLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

struct Message {
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete", or empty when done
    bool numerus = false;
};

QList<Message> readMessages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            message = Message{
                context, {}, {}, {}, xml.attributes().value(QLatin1String("numerus")) == u"yes"};
        } else if (xml.name() == u"source") {
            message.source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            message.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            messages << message;
        }
    }
    if (xml.hasError())
        qWarning("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    return xml.hasError() ? QList<Message>{} : messages;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%(\\d+|n)"));
    QStringList found;
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    found.removeDuplicates();
    return found;
}

// What a text is joined to its neighbours by: a trailing space, colon or line break.
QString joiningEnd(const QString &text)
{
    static const QRegularExpression end(QStringLiteral("(\\n+| +)$"));
    return end.match(text).captured();
}

QString describe(const Message &message)
{
    return QStringLiteral("[%1] \"%2\"").arg(message.context, message.source);
}

// Every fault of one file, one per line.
QStringList faultsIn(const QList<Message> &messages)
{
    QStringList faults;
    for (const Message &message : messages) {
        if (message.type == u"vanished" || message.type == u"obsolete")
            faults << QStringLiteral("no longer in the code: ") + describe(message);
        else if (message.type == u"unfinished" || message.translation.isEmpty())
            faults << QStringLiteral("not translated: ") + describe(message);
        else if (placeholders(message.source) != placeholders(message.translation))
            faults << QStringLiteral("placeholders differ: ") + describe(message);
        else if (joiningEnd(message.source) != joiningEnd(message.translation))
            faults << QStringLiteral("ends differently: ") + describe(message);
    }
    return faults;
}

} // namespace

class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void faultsAreFound_data();
    void faultsAreFound();
    void everyTextIsTranslated_data();
    void everyTextIsTranslated();
    void theUsersLanguageIsChosen_data();
    void theUsersLanguageIsChosen();
};

// The check itself, on small files: it must see each kind of fault, and pass a good file.
void TranslationsTest::faultsAreFound_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("fault");
    const auto row = [](const char *name, const char *source, const char *translation,
                        const char *fault) {
        QTest::newRow(name) << QStringLiteral("<source>%1</source>%2")
                                   .arg(QString::fromUtf8(source), QString::fromUtf8(translation))
                            << QString::fromUtf8(fault);
    };
    row("good", "Ejected %1.\n", "<translation>%1 ausgeworfen.\n</translation>", "");
    row("unfinished", "Cancel", "<translation type=\"unfinished\"></translation>",
        "not translated");
    row("empty", "Cancel", "<translation></translation>", "not translated");
    row("vanished", "Cancel", "<translation type=\"vanished\">Abbrechen</translation>",
        "no longer in the code");
    row("placeholder lost", "Copying %1 to %2", "<translation>Kopiere %1</translation>",
        "placeholders differ");
    row("placeholder added", "Done", "<translation>Fertig %1</translation>", "placeholders differ");
    row("trailing space lost", "Error: ", "<translation>Fehler:</translation>", "ends differently");
    row("line break lost", "Done.\n", "<translation>Fertig.</translation>", "ends differently");
}

void TranslationsTest::faultsAreFound()
{
    QFETCH(QString, message);
    QFETCH(QString, fault);
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("t.ts")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><!DOCTYPE TS>"
                              "<TS version=\"2.1\" language=\"de\"><context><name>X</name>"
                              "<message>%1</message></context></TS>")
                   .arg(message)
                   .toUtf8());
    file.close();
    const QList<Message> messages = readMessages(file.fileName());
    QCOMPARE(messages.size(), 1);
    const QStringList faults = faultsIn(messages);
    if (fault.isEmpty()) {
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    } else {
        QCOMPARE(faults.size(), 1);
        QVERIFY2(faults.first().startsWith(fault), qPrintable(faults.first()));
    }
}

void TranslationsTest::everyTextIsTranslated_data()
{
    QTest::addColumn<QString>("language");
    for (const char *language : {"de", "fr"})
        QTest::newRow(language) << QString::fromLatin1(language);
}

void TranslationsTest::everyTextIsTranslated()
{
    QFETCH(QString, language);
    const QString shipped = QStringLiteral(TESSALINE_TRANSLATIONS "/tessaline_%1.ts").arg(language);
    QVERIFY2(QFileInfo::exists(shipped), qPrintable(shipped));
    QTemporaryDir folder;
    const QString updated = folder.filePath(QFileInfo(shipped).fileName());
    QVERIFY(QFile::copy(shipped, updated));
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(TESSALINE_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("-no-obsolete"), QStringLiteral("-I"),
                   QStringLiteral(TESSALINE_SOURCES), QStringLiteral(TESSALINE_SOURCES),
                   QStringLiteral("-ts"), updated});
    QVERIFY(lupdate.waitForFinished(120000));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

    const QList<Message> messages = readMessages(updated);
    QVERIFY2(messages.size() > 100, "lupdate found too few texts: is the source folder right?");
    QStringList faults = faultsIn(messages);
    // A text kept in the shipped file that the code no longer has is dead weight there.
    if (readMessages(shipped).size() != messages.size())
        faults << QStringLiteral("tessaline_%1.ts is not up to date with the code: run "
                                 "cmake --build build --target update_translations")
                      .arg(language);
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("\n") + faults.join(u'\n')));
}

void TranslationsTest::theUsersLanguageIsChosen_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("chosen");
    const auto row = [](const char *name, const char *locale, const char *chosen) {
        QTest::newRow(name) << QString(locale) << QString(chosen);
    };
    row("German", "de_DE", "de");
    row("Swiss German", "de_CH", "de");
    row("French", "fr_FR", "fr");
    row("Canadian French", "fr_CA", "fr");
    row("English", "en_GB", "en");
    row("a language not shipped", "ja_JP", "en");
    row("C", "C", "en");
}

void TranslationsTest::theUsersLanguageIsChosen()
{
    QFETCH(QString, locale);
    QFETCH(QString, chosen);
    QCOMPARE(translatedLanguages(), (QStringList{QStringLiteral("de"), QStringLiteral("fr")}));
    QCOMPARE(installUserLanguage(QLocale(locale)), chosen);
    const QString text = QCoreApplication::translate("CommandLine", "no command given");
    QCOMPARE(text == u"no command given", chosen == u"en");
    for (QTranslator *translator : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
