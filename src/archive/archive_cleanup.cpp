#include "archive/archive_cleanup.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "archive/archive_names.h"
#include "platform/ascii_text.h"
#include "platform/file_lock.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;

bool decimal(std::string_view text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool isMonthUpTo(std::string_view title, int month, int year) {
  const size_t dash = title.find('-');
  if (dash == std::string_view::npos) return false;
  std::string_view rest = title.substr(dash + 1);
  rest = rest.substr(0, rest.find('-'));
  int fileMonth = 0, fileYear = 0;
  if (!decimal(title.substr(0, dash), fileMonth) || !decimal(rest, fileYear)) return false;
  return fileYear < year || (fileYear == year && fileMonth <= month);
}

std::vector<std::string> monthlyFilesUpTo(const fs::path& protocolDir, int month, int year) {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(protocolDir, error)) {
    const std::string name = entry.path().filename().string();
    if (!isMonthlyFileName(name) || !entry.is_regular_file(error)) continue;
    const std::string title = name.substr(0, name.size() - std::string_view(kMonthlyExtension).size());
    if (isMonthUpTo(title, month, year)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

int deleteMonthlyFilesUpTo(const fs::path& protocolDir, int month, int year) {
  FileLock lock(protocolDir / kArchiveLockFileName);
  int deleted = 0;
  for (const std::string& name : monthlyFilesUpTo(protocolDir, month, year)) {
    if (::unlink((protocolDir / name).c_str()) == 0) ++deleted;
  }
  return deleted;
}

std::string deletedCountText(int count) {
  char text[96];
  std::snprintf(text, sizeof text, kDeletedCountFormat, count);
  return text;
}

}  // namespace zelmot::archive
