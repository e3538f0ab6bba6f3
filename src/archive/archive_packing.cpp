#include "archive/archive_packing.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "archive/archive_names.h"
#include "platform/file_lock.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;

void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// "<file>.damaged", or "<file>.damaged.N" when that is taken.
fs::path asideName(const fs::path& file) {
  fs::path aside = file;
  aside += kDamagedSuffix;
  std::error_code error;
  for (int n = 1; fs::exists(aside, error); ++n) {
    aside = file;
    aside += std::string(kDamagedSuffix) + "." + std::to_string(n);
  }
  return aside;
}

// Moves a file that is there but no compound file out of the way. False when it stays.
bool moveAsideIfForeign(const fs::path& monthly, PackResult& result) {
  std::error_code error;
  if (!fs::exists(monthly, error)) return true;
  if (!fs::is_regular_file(monthly, error)) return false;  // a folder or device: not ours to move
  if (isCompoundFile(monthly)) return true;
  const fs::path aside = asideName(monthly);
  if (::rename(monthly.c_str(), aside.c_str()) != 0) return false;
  result.movedAside = aside;
  return true;
}

}  // namespace

PackResult packDailyLog(const fs::path& protocolDir, const std::string& logFileName) {
  PackResult result;
  const std::string monthlyName = monthlyFileNameOfLog(logFileName);
  if (monthlyName.empty() || !isValidStreamName(logFileName)) {
    result.status = MonthlyStatus::BadName;
    return result;
  }
  result.monthlyFile = protocolDir / monthlyName;
  const fs::path log = protocolDir / logFileName;
  // Hidden and not ending in ".var": never taken for a monthly file by listings or cleanup.
  const fs::path temporary = protocolDir / ("." + monthlyName + ".tmp");

  FileLock lock(protocolDir / kArchiveLockFileName);
  std::error_code error;
  if (!fs::is_regular_file(log, error)) {
    result.status = MonthlyStatus::Missing;
    return result;
  }
  if (!moveAsideIfForeign(result.monthlyFile, result)) {
    result.status = MonthlyStatus::WriteFailed;
    return result;
  }
  result.status = writeMonthlyWithLog(result.monthlyFile, log, logFileName, temporary);
  if (result.status == MonthlyStatus::Ok &&
      ::rename(temporary.c_str(), result.monthlyFile.c_str()) != 0) {
    result.status = MonthlyStatus::WriteFailed;
  }
  if (result.status != MonthlyStatus::Ok) {
    ::unlink(temporary.c_str());
    return result;
  }
  syncFolder(protocolDir);
  result.logDeleted = ::unlink(log.c_str()) == 0;
  return result;
}

std::vector<std::string> dailyLogsIn(const fs::path& protocolDir) {
  std::vector<std::string> logs;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(protocolDir, error)) {
    const std::string name = entry.path().filename().string();
    if (isDailyLogName(name) && entry.is_regular_file(error)) logs.push_back(name);
  }
  std::sort(logs.begin(), logs.end());
  return logs;
}

}  // namespace zelmot::archive
