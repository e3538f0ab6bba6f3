#include "archive/day_source.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <system_error>

#include "archive/monthly_days.h"
#include "platform/ascii_text.h"

namespace zelmot::archive {
namespace {

std::chrono::year_month_day calendarDate(const DayDate& date) {
  return std::chrono::year_month_day{std::chrono::year{date.year},
                                     std::chrono::month{static_cast<unsigned>(date.month)},
                                     std::chrono::day{static_cast<unsigned>(date.day)}};
}

bool hasExtension(const std::filesystem::path& path, const char* extension) {
  return equalsIgnoreCase(path.extension().string(), extension);
}

}  // namespace

std::string dayTitle(const DayDate& date) {
  char text[32] = {};
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", date.day, date.month, date.year);
  return text;
}

std::string dayLogName(const DayDate& date) { return dayTitle(date) + ".log"; }

std::optional<DayDate> parseDayTitle(const std::string& text) {
  DayDate date;
  int consumed = 0;
  if (text.size() != 10 ||
      std::sscanf(text.c_str(), "%2d-%2d-%4d%n", &date.day, &date.month, &date.year, &consumed) != 3 ||
      consumed != 10 || date.month < 1 || date.month > 12 || date.day < 1) {
    return std::nullopt;
  }
  if (!calendarDate(date).ok()) return std::nullopt;
  return date;
}

DayDate nextDay(const DayDate& date) {
  const std::chrono::year_month_day next{std::chrono::sys_days{calendarDate(date)} +
                                         std::chrono::days{1}};
  return DayDate{static_cast<int>(static_cast<unsigned>(next.day())),
                 static_cast<int>(static_cast<unsigned>(next.month())),
                 static_cast<int>(next.year())};
}

std::string titleOfDayName(const std::string& dayName) {
  return std::filesystem::path(dayName).stem().string();
}

std::string monthlyNameOfDay(const std::string& dayName) {
  const std::string title = titleOfDayName(dayName);
  const size_t dash = title.find('-');
  return dash == std::string::npos ? std::string() : title.substr(dash + 1);
}

ArchiveFolders archiveFoldersIn(const std::filesystem::path& home) {
  return ArchiveFolders{home / "protocol", home / "temp"};
}

std::optional<DayFile> locateDay(const ArchiveFolders& folders, const std::string& dayName,
                                 std::filesystem::path& triedPath) {
  triedPath = folders.protocol / dayName;
  const std::string monthly = monthlyNameOfDay(dayName);
  if (!monthly.empty() &&
      unpackMonthlyDay(folders.protocol / (monthly + ".var"), dayName, folders.scratch)) {
    return DayFile{folders.scratch / dayName, true};
  }
  std::error_code error;
  if (std::filesystem::is_regular_file(triedPath, error)) return DayFile{triedPath, false};
  return std::nullopt;
}

std::vector<std::string> listDayNames(const ArchiveFolders& folders) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folders.protocol, error)) {
    const std::filesystem::path& path = entry.path();
    if (hasExtension(path, ".log")) names.insert(path.filename().string());
    if (hasExtension(path, ".var")) {
      for (std::string& day : monthlyDayNames(path)) names.insert(std::move(day));
    }
  }
  return {names.begin(), names.end()};
}

}  // namespace zelmot::archive
