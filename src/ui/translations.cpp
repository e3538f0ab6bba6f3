#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zelmot::ui {
namespace {

bool wantsOwnLanguage(const QLocale& locale) {
  return locale.language() != QLocale::C && locale.language() != QLocale::English &&
         locale.language() != QLocale::AnyLanguage;
}

}  // namespace

QTranslator* installQtTranslations(QCoreApplication& application, const QLocale& locale,
                              const QString& directory) {
  const QString folder =
      directory.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : directory;
  auto* translator = new QTranslator(&application);  // lives as long as the application
  for (const QLocale& candidate : {locale, QLocale(kDefaultQtLanguage)}) {
    if (!wantsOwnLanguage(candidate)) continue;
    if (translator->load(candidate, "qtbase", "_", folder)) {
      QCoreApplication::installTranslator(translator);
      return translator;
    }
  }
  delete translator;
  return nullptr;
}

}  // namespace zelmot::ui
