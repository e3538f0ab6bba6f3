#include "archive/archive_listing.h"

#include <algorithm>

#include "archive/archive_names.h"
#include "archive/archive_packing.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;

uint64_t sizeOf(const fs::path& file) {
  std::error_code error;
  const uintmax_t size = fs::file_size(file, error);
  return error ? 0 : static_cast<uint64_t>(size);
}

}  // namespace

std::vector<std::string> ArchiveListing::dayNames() const {
  std::vector<std::string> names;
  for (const MonthlyFileEntry& file : monthly) {
    for (const StreamEntry& stream : file.streams) names.push_back(stream.name);
  }
  for (const StreamEntry& log : logs) names.push_back(log.name);
  return names;
}

ArchiveListing listArchive(const fs::path& protocolDir) {
  ArchiveListing listing;
  for (const std::string& log : dailyLogsIn(protocolDir)) {
    listing.logs.push_back({log, sizeOf(protocolDir / log)});
  }
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(protocolDir, error)) {
    const std::string name = entry.path().filename().string();
    if (!isMonthlyFileName(name) || !entry.is_regular_file(error)) continue;
    StreamListing streams = listStreams(entry.path());
    listing.monthly.push_back({name, sizeOf(entry.path()), streams.status, std::move(streams.streams)});
  }
  std::sort(listing.monthly.begin(), listing.monthly.end(),
            [](const MonthlyFileEntry& a, const MonthlyFileEntry& b) { return a.name < b.name; });
  return listing;
}

}  // namespace zelmot::archive
