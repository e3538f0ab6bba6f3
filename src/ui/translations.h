#pragma once
// Qt's own texts (the buttons and the file, colour and message dialogs of the toolkit) in
// the language of the program's own texts.
#include <QLocale>
#include <QString>

class QCoreApplication;
class QTranslator;

namespace zelmot::ui {

inline constexpr const char* kDefaultQtLanguage = "ru";

// Installs Qt's translation for the user's locale, or Russian when the locale is English
// or C (whose dialogs would stand among Russian texts) or Qt has no translation for it.
// Returns the installed translator (owned by the application), null when none was found
// (the dialogs then stay English). `directory` empty: Qt's own translations folder.
QTranslator* installQtTranslations(QCoreApplication& application,
                              const QLocale& locale = QLocale::system(),
                              const QString& directory = {});

}  // namespace zelmot::ui
