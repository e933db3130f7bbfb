#pragma once

#include <QLocale>
#include <QString>

// Installs the program's own translation and Qt's (the standard buttons and dialogs) for the
// first of the user's preferred languages that the program speaks. English is the language the
// texts are written in: a user who puts English before another language gets English, even
// where that other language has a translation. Called once at start-up, before any text is
// made, on the main thread. Returns the language installed ("de", "fr"), or "en" when none was.
QString installUserLanguage(const QLocale &locale = QLocale::system());

// The languages the program ships a translation of, besides English.
QStringList translatedLanguages();
