#pragma once
// Removing old monthly files: every "*.var" file of the protocol folder whose month is
// the chosen one or earlier. A file's title is split at "-": the first part is its month,
// the second its year; further parts are ignored. Daily logs are never removed.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zelmot::archive {

inline constexpr const char* kDeletedCountFormat = "Количество удаленных файлов: %i.";

// True when the title names a month up to and including `month` of `year`. A title
// without both parts, or whose parts are not decimal numbers, names no month: false.
bool isMonthUpTo(std::string_view title, int month, int year);

// The monthly files ("*.var", any case) of the folder that the cleanup would delete, sorted.
std::vector<std::string> monthlyFilesUpTo(const std::filesystem::path& protocolDir, int month,
                                          int year);

// Deletes them; a file that cannot be deleted is skipped. The number deleted.
int deleteMonthlyFilesUpTo(const std::filesystem::path& protocolDir, int month, int year);

// "Количество удаленных файлов: N."
std::string deletedCountText(int count);

}  // namespace zelmot::archive
