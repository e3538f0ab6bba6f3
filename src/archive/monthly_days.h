#pragma once
// The export's door to the monthly archive files: which days a monthly file holds, and
// unpacking one of them. Kept apart so that the packed-day side has one place to live.
#include <filesystem>
#include <string>
#include <vector>

namespace zelmot::archive {

// The stream names (days) of a monthly file; empty when it is not one.
std::vector<std::string> monthlyDayNames(const std::filesystem::path& monthlyFile);
// Unpacks a day's stream into `folder` as a file of the day's name. False when the monthly
// file or the stream does not exist or the file cannot be written.
bool unpackMonthlyDay(const std::filesystem::path& monthlyFile, const std::string& dayName,
                      const std::filesystem::path& folder);

}  // namespace zelmot::archive
