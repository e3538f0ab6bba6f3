#pragma once
// The state of the dialog "Очистка данных": the chosen month (the current one when the
// dialog opens) and what OK does — delete the monthly files of that month and earlier and
// tell how many went. The Qt view only shows the month picker and the message.
#include <ctime>
#include <filesystem>
#include <string>

namespace zelmot::app {

inline constexpr const char* kCleanupCaption = "Очистка данных";
inline constexpr const char* kCleanupPrompt =
    "Удалить все сохраненные данные до следующей даты, включительно:";
// The picker's format: the month's name, the full year and "г." ("март 2026г.").
inline constexpr const char* kCleanupMonthFormat = "MMMM yyyг.";
inline constexpr const char* kCleanupMessageCaption = "Сообщение";

class CleanupState {
public:
  // `today` gives the month chosen at first.
  CleanupState(std::filesystem::path protocolDir, const std::tm& today);

  int month() const { return month_; }  // 1..12
  int year() const { return year_; }
  void choose(int month, int year);

  // Deletes the monthly files up to the chosen month; the message to show
  // ("Количество удаленных файлов: N.").
  std::string accept();

private:
  std::filesystem::path protocolDir_;
  int month_;
  int year_;
};

}  // namespace zelmot::app
