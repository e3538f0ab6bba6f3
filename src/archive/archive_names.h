#pragma once
// Names of the archive's files: a daily log is named by its local date ("06-12-2026.log"),
// its month's compound file by the part of that title after the first "-" ("12-2026.var"),
// and the stream of a day inside that file by the log's own file name.
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace zelmot::archive {

inline constexpr const char* kLogExtension = ".log";
inline constexpr const char* kMonthlyExtension = ".var";
inline constexpr const char* kDamagedSuffix = ".damaged";
// Held while monthly files are written or deleted, so that the desktop program and the
// command line never pack or clean one folder at once.
inline constexpr const char* kArchiveLockFileName = ".archive.lock";

// "%d-%m-%Y.log" of a local date.
std::string dailyLogName(const std::tm& localDate);

// True for a name of the form DD-MM-YYYY.log (extension in any case). Only such logs are
// packed: any other name would give a monthly file or a stream name no reader expects.
bool isDailyLogName(std::string_view fileName);

// True for a name ending in ".var" (any case) with something before it.
bool isMonthlyFileName(std::string_view fileName);

// "12-2026" of "06-12-2026.log" (the title after its first "-"); empty when there is none.
std::string monthlyTitleOfLog(std::string_view logFileName);
// "12-2026.var" of "06-12-2026.log"; empty when the title has no "-".
std::string monthlyFileNameOfLog(std::string_view logFileName);

struct DayDate {
  int day = 0;
  int month = 0;  // 1..12
  int year = 0;
  bool operator==(const DayDate&) const = default;
};
// "DD-MM-YYYY" (as the command line and the export name a day) or a daily log name; none
// for anything else or an impossible date.
std::optional<DayDate> parseDayName(std::string_view text);
// The daily log name of a date ("06-12-2026.log").
std::string dailyLogName(const DayDate& date);

struct MonthDate {
  int month = 0;  // 1..12
  int year = 0;
};
// "MM-YYYY" (the cleanup's month on the command line); none for anything else.
std::optional<MonthDate> parseMonthName(std::string_view text);

}  // namespace zelmot::archive
