#include "archive/day_source.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <system_error>

#include "archive/archive_listing.h"
#include "archive/monthly_file.h"

namespace zelmot::archive {
namespace {

std::chrono::year_month_day calendarDate(const DayDate& date) {
  return std::chrono::year_month_day{std::chrono::year{date.year},
                                     std::chrono::month{static_cast<unsigned>(date.month)},
                                     std::chrono::day{static_cast<unsigned>(date.day)}};
}

}  // namespace

std::string dayTitle(const DayDate& date) {
  char text[32] = {};
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", date.day, date.month, date.year);
  return text;
}

bool isBefore(const DayDate& a, const DayDate& b) {
  if (a.year != b.year) return a.year < b.year;
  if (a.month != b.month) return a.month < b.month;
  return a.day < b.day;
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

ArchiveFolders archiveFoldersIn(const std::filesystem::path& home) {
  return ArchiveFolders{home / "protocol", home / "temp"};
}

std::optional<DayFile> locateDay(const ArchiveFolders& folders, const std::string& dayName,
                                 std::filesystem::path& triedPath) {
  triedPath = folders.protocol / dayName;
  const std::string monthly = monthlyFileNameOfLog(dayName);
  if (!monthly.empty()) {
    const UnpackResult unpacked = unpackStream(folders.protocol / monthly, dayName, folders.scratch);
    if (unpacked.status == MonthlyStatus::Ok) return DayFile{unpacked.file, true};
  }
  std::error_code error;
  if (std::filesystem::is_regular_file(triedPath, error)) return DayFile{triedPath, false};
  return std::nullopt;
}

std::vector<std::string> listDayNames(const ArchiveFolders& folders) {
  const std::vector<std::string> days = listArchive(folders.protocol).dayNames();
  const std::set<std::string> sorted(days.begin(), days.end());
  return {sorted.begin(), sorted.end()};
}

}  // namespace zelmot::archive
