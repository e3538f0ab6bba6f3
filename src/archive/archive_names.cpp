#include "archive/archive_names.h"

#include <cstdio>

#include "platform/ascii_text.h"

namespace zelmot::archive {
namespace {

bool allDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int month, int year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool endsWithIgnoringCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && equalsIgnoreCase(text.substr(text.size() - end.size()), end);
}

std::string_view titleOf(std::string_view fileName) {
  const size_t dot = fileName.rfind('.');
  return dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
}

}  // namespace

std::string dailyLogName(const std::tm& localDate) {
  return dailyLogName(DayDate{localDate.tm_mday, localDate.tm_mon + 1, localDate.tm_year + 1900});
}

std::string dailyLogName(const DayDate& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d%s", date.day, date.month, date.year,
                kLogExtension);
  return text;
}

bool isDailyLogName(std::string_view fileName) {
  return endsWithIgnoringCase(fileName, kLogExtension) && parseDayName(fileName).has_value();
}

bool isMonthlyFileName(std::string_view fileName) {
  return fileName.size() > 4 && endsWithIgnoringCase(fileName, kMonthlyExtension);
}

std::string monthlyTitleOfLog(std::string_view logFileName) {
  const std::string_view title = titleOf(logFileName);
  const size_t dash = title.find('-');
  if (dash == std::string_view::npos) return {};
  return std::string(title.substr(dash + 1));
}

std::string monthlyFileNameOfLog(std::string_view logFileName) {
  const std::string title = monthlyTitleOfLog(logFileName);
  return title.empty() ? std::string() : title + kMonthlyExtension;
}

std::optional<DayDate> parseDayName(std::string_view text) {
  if (endsWithIgnoringCase(text, kLogExtension)) text.remove_suffix(4);
  if (text.size() != 10 || text[2] != '-' || text[5] != '-') return std::nullopt;
  const std::string_view day = text.substr(0, 2), month = text.substr(3, 2), year = text.substr(6);
  if (!allDigits(day) || !allDigits(month) || !allDigits(year)) return std::nullopt;
  DayDate date{number(day), number(month), number(year)};
  if (date.month < 1 || date.month > 12 || date.year < 1900) return std::nullopt;
  if (date.day < 1 || date.day > daysInMonth(date.month, date.year)) return std::nullopt;
  return date;
}

std::optional<MonthDate> parseMonthName(std::string_view text) {
  if (text.size() != 7 || text[2] != '-') return std::nullopt;
  const std::string_view month = text.substr(0, 2), year = text.substr(3);
  if (!allDigits(month) || !allDigits(year)) return std::nullopt;
  MonthDate date{number(month), number(year)};
  if (date.month < 1 || date.month > 12) return std::nullopt;
  return date;
}

}  // namespace zelmot::archive
