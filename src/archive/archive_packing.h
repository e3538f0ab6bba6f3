#pragma once
// Packing a daily log into its month's compound file, safely against crashes and against
// a second program packing the same folder:
//  - the folder's lock file is held while packing (other packers wait);
//  - a file named like the monthly file that is no compound file is moved aside to
//    "<name>.damaged" (numbered when taken), never replaced;
//  - the new monthly file is written beside the old one, synced and renamed over it;
//  - the log is deleted only after that rename succeeded.
#include <filesystem>
#include <string>

#include "archive/monthly_file.h"

namespace zelmot::archive {

struct PackResult {
  MonthlyStatus status = MonthlyStatus::Ok;
  std::filesystem::path monthlyFile;
  std::filesystem::path movedAside;  // where a file that was no compound file went
  bool logDeleted = false;
};

// Packs `protocolDir/logFileName` into its monthly file as the stream `logFileName`,
// replacing a stream of that name, and deletes the log (a failure to delete is ignored).
PackResult packDailyLog(const std::filesystem::path& protocolDir, const std::string& logFileName);

// Daily logs of the folder (names of the form DD-MM-YYYY.log), sorted.
std::vector<std::string> dailyLogsIn(const std::filesystem::path& protocolDir);

}  // namespace zelmot::archive
