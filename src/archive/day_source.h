#pragma once
// Where the records of one day come from. A packed day is unpacked from its monthly file
// into the scratch folder; the current day (not yet packed) is read from its daily log in
// the archive folder. Days are named by their daily log, "06-12-2026.log".
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_names.h"

namespace zelmot::archive {

// "06-12-2026" for the date ("%d-%m-%Y").
std::string dayTitle(const DayDate& date);
// True when `a` is an earlier calendar day than `b`.
bool isBefore(const DayDate& a, const DayDate& b);
// The next calendar day.
DayDate nextDay(const DayDate& date);
// The day name without its extension ("06-12-2026.log" gives "06-12-2026").
std::string titleOfDayName(const std::string& dayName);

struct ArchiveFolders {
  std::filesystem::path protocol;  // daily logs and monthly files
  std::filesystem::path scratch;   // unpacked days and the reports ("temp")
};

// The folders inside the program home.
ArchiveFolders archiveFoldersIn(const std::filesystem::path& home);

struct DayFile {
  std::filesystem::path path;
  bool unpacked = false;  // a copy in the scratch folder, removed after reading
};

// The file to read a day from, or nothing when neither a monthly stream nor a daily log of
// that name exists. `triedPath` is the daily log path a failure names.
std::optional<DayFile> locateDay(const ArchiveFolders& folders, const std::string& dayName,
                                 std::filesystem::path& triedPath);

// The days that can be exported: the daily logs in the archive folder and the streams of
// every monthly file, without repeats, in name order.
std::vector<std::string> listDayNames(const ArchiveFolders& folders);

}  // namespace zelmot::archive
