#pragma once
// What the protocol folder holds: the daily logs and the monthly files with their days.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/monthly_file.h"

namespace zelmot::archive {

struct MonthlyFileEntry {
  std::string name;
  uint64_t size = 0;
  MonthlyStatus status = MonthlyStatus::Ok;  // NotCompound for a file that is no archive
  std::vector<StreamEntry> streams;
};

struct ArchiveListing {
  std::vector<StreamEntry> logs;  // daily logs (DD-MM-YYYY.log) with their sizes
  std::vector<MonthlyFileEntry> monthly;  // "*.var" files, sorted by name
  // Every day the archive holds: the streams of every monthly file, then the daily logs.
  std::vector<std::string> dayNames() const;
};

ArchiveListing listArchive(const std::filesystem::path& protocolDir);

}  // namespace zelmot::archive
