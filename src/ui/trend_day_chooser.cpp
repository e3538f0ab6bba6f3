#include "ui/trend_day_chooser.h"

#include <QInputDialog>
#include <algorithm>

#include "app/trend_day.h"
#include "archive/archive_names.h"
#include "platform/user_prompt.h"
#include "ui/qt_text.h"
#include "ui/trend_panel.h"

namespace zelmot::ui {
namespace {

QString dayCaption(const std::string& dayName, const app::TrendDay& day) {
  QString text = QString("Архив за %1: записей %2")
                     .arg(toQt(archive::titleOfDayName(dayName)))
                     .arg(static_cast<qulonglong>(day.records));
  if (day.status == app::TrendDayStatus::Damaged) text += ", конец файла поврежден";
  return text;
}

}  // namespace

bool showTrendDay(TrendPanel& panel, const archive::ArchiveFolders& folders,
                  const std::string& dayName, const model::DescBranch& measurementTree,
                  UserPrompt& prompt) {
  app::TrendDay day = app::loadTrendDay(folders, dayName, archive::protocolColumns(measurementTree),
                                        app::trendLabels(measurementTree));
  if (day.status == app::TrendDayStatus::Missing) {
    prompt.tell("Нет данных за " + archive::titleOfDayName(dayName), kTrendPanelTitle,
                PromptIcon::Exclamation);
    return false;
  }
  panel.showDay(std::move(day.series), dayCaption(dayName, day));
  return true;
}

void chooseTrendDay(TrendPanel& panel, const archive::ArchiveFolders& folders,
                    const model::DescBranch& measurementTree, UserPrompt& prompt) {
  std::vector<std::string> days = archive::listDayNames(folders);
  if (days.empty()) {
    prompt.tell(kTrendNoDaysText, kTrendPanelTitle, PromptIcon::Information);
    return;
  }
  std::stable_sort(days.begin(), days.end(), [](const std::string& a, const std::string& b) {
    const std::optional<archive::DayDate> dayA = archive::parseDayName(a);
    const std::optional<archive::DayDate> dayB = archive::parseDayName(b);
    if (!dayA || !dayB) return dayA.has_value() && !dayB.has_value();
    return archive::isBefore(*dayB, *dayA);  // the newest first
  });
  QStringList titles;
  for (const std::string& day : days) titles << toQt(archive::titleOfDayName(day));
  bool chosen = false;
  const QString title = QInputDialog::getItem(&panel, toQt(kTrendPanelTitle), "День архива:",
                                              titles, 0, false, &chosen);
  if (!chosen) return;
  const auto at = static_cast<size_t>(titles.indexOf(title));
  if (at < days.size()) showTrendDay(panel, folders, days[at], measurementTree, prompt);
}

}  // namespace zelmot::ui
