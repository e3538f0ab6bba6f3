// Qt's standard dialogs speak the program's language.
#include "ui/translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTranslator>
#include <memory>

namespace zelmot::ui::testing {
namespace {

// Installs for the locale, reports the language and the Cancel button's text, and takes
// the translation away again so that other tests see Qt's own texts.
struct Installed {
  QString language;
  QString cancel;
};

Installed installFor(const QLocale& locale, const QString& directory = {}) {
  QTranslator* translator = installQtTranslations(*QCoreApplication::instance(), locale, directory);
  Installed installed;
  if (translator == nullptr) return installed;
  installed.language = translator->language();
  installed.cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
  QCoreApplication::removeTranslator(translator);
  delete translator;
  return installed;
}

TEST(QtTranslations, RussianByDefaultAndTheUsersOwnLanguageWhereQtHasIt) {
  for (const char* name : {"C", "en_US", "ru_RU"}) {
    const Installed installed = installFor(QLocale(name));
    EXPECT_TRUE(installed.language.startsWith("ru")) << name;
    EXPECT_EQ(installed.cancel, "Отмена") << name;
  }
  EXPECT_TRUE(installFor(QLocale("de_DE")).language.startsWith("de"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}

TEST(QtTranslations, NothingIsInstalledWhereNoTranslationExists) {
  QTemporaryDir empty;
  EXPECT_TRUE(installFor(QLocale("ru_RU"), empty.path()).language.isEmpty());
}

}  // namespace
}  // namespace zelmot::ui::testing
