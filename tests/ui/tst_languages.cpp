// The window in German and in French: in each state the screenshot program shows, no text the
// program has a translation for may be left in English, whether a label, a button, a menu, a
// title or what a screen reader is told.

#include "MainWindow.h"
#include "WindowStates.h"
#include "host/UserLanguage.h"
#include "state/AppState.h"
#include "support/StandInWorld.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

// The English pieces of the program's texts that read differently in `language`: each source
// text cut at its placeholders and line breaks. Pieces that a translation also uses (a product
// name, "Terminal") say nothing, nor do short ones.
struct EnglishPieces {
    QStringList phrases; // several words: found inside a longer text
    QStringList words;   // one word: found as a whole text only
};

EnglishPieces englishPieces(const QString &language)
{
    QFile file(QStringLiteral(TESSALINE_TRANSLATIONS "/tessaline_%1.ts").arg(language));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QList<std::pair<QString, QString>> messages;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"source")
            source = xml.readElementText();
        else if (xml.name() == u"translation")
            messages.append({source, xml.readElementText()});
    }
    QString allTranslations;
    for (const auto &[english, translated] : messages)
        allTranslations += translated + u'\n';

    static const QRegularExpression cut(QStringLiteral("%\\d+|%n|\\n"));
    EnglishPieces pieces;
    for (const auto &[english, translated] : messages) {
        if (english == translated)
            continue;
        for (QString piece : english.split(cut)) {
            piece = piece.trimmed();
            if (piece.size() < 5 || allTranslations.contains(piece))
                continue;
            (piece.contains(u' ') ? pieces.phrases : pieces.words) << piece;
        }
    }
    pieces.phrases.removeDuplicates();
    pieces.words.removeDuplicates();
    return pieces;
}

QString plain(const QString &text)
{
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// Every text that `shown` puts before a person or a screen reader, with where it was found.
QList<std::pair<QString, QString>> textsOf(QWidget &shown)
{
    QList<std::pair<QString, QString>> texts;
    const auto add = [&texts](QObject *where, const QString &text) {
        if (!text.trimmed().isEmpty())
            texts.append({plain(text), QString::fromLatin1(where->metaObject()->className())});
    };
    QList<QWidget *> widgets = shown.findChildren<QWidget *>();
    widgets.prepend(&shown);
    add(&shown, shown.windowTitle());
    for (QWidget *widget : widgets) {
        if (widget != &shown && !widget->isVisibleTo(&shown))
            continue;
        if (auto *label = qobject_cast<QLabel *>(widget))
            add(label, label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            add(button, button->text());
        if (auto *field = qobject_cast<QLineEdit *>(widget))
            add(field, field->placeholderText());
        add(widget, widget->toolTip());
        if (QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget)) {
            add(widget, accessible->text(QAccessible::Name));
            add(widget, accessible->text(QAccessible::Description));
        }
        for (QAction *action : widget->actions()) {
            add(widget, action->text());
            if (action->menu())
                for (QAction *item : action->menu()->actions())
                    add(action->menu(), item->text());
        }
    }
    return texts;
}

QStringList englishIn(const QList<std::pair<QString, QString>> &texts, const EnglishPieces &pieces,
                      const QString &state)
{
    QStringList found;
    for (const auto &[text, where] : texts) {
        const QString line = text.simplified();
        QString english;
        for (const QString &word : pieces.words)
            if (line == word || line == word + u':' || line == word + u'…')
                english = word;
        for (const QString &phrase : pieces.phrases)
            if (english.isEmpty() && line.contains(phrase))
                english = phrase;
        if (!english.isEmpty())
            found << QStringLiteral("%1, %2: \"%3\" in \"%4\"").arg(state, where, english, line);
    }
    return found;
}

void removeTranslations()
{
    for (QTranslator *translator : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace

class LanguagesTest : public QObject {
    Q_OBJECT

private slots:
    void noEnglishIsLeft_data();
    void noEnglishIsLeft();
};

void LanguagesTest::noEnglishIsLeft_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("German") << QStringLiteral("de");
    QTest::newRow("French") << QStringLiteral("fr");
}

void LanguagesTest::noEnglishIsLeft()
{
    QFETCH(QString, language);
    const EnglishPieces pieces = englishPieces(language);
    QVERIFY2(pieces.phrases.size() > 50, "the translation file has too few texts");

    QCOMPARE(installUserLanguage(QLocale(language)), language);
    const StandInWorld world;
    QVERIFY(world.isValid());
    Timing timing;
    timing.startupRefreshDelay = std::chrono::hours(1);
    Timing::setCurrent(timing);
    QStringList english;
    {
        AppState state;
        MainWindow window(state);
        window.show();
        waitUntilListed(state);
        const StateVisit read = [&](QWidget &shown, const QString &name) {
            QTest::qWait(100);
            english << englishIn(textsOf(shown), pieces, name);
            if (&shown == &window)
                english << englishIn(textsOf(*window.menuBar()), pieces, name);
        };
        visitWindowStates(state, window, QString(), read);
        visitAlerts(state, window, read);
        visitDownloads(state, window, read);
    }
    removeTranslations();
    Timing::setCurrent(Timing());
    english.removeDuplicates();
    QVERIFY2(english.isEmpty(), qPrintable(QStringLiteral("\n") + english.join(u'\n')));
}

QTEST_MAIN(LanguagesTest)
#include "tst_languages.moc"
