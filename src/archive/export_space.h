#pragma once
// An export unpacks whole days and writes reports beside the program's files, so it starts
// only with room to spare on the file system that holds the program home.
#include <cstdint>
#include <filesystem>

namespace zelmot::archive {

inline constexpr uintmax_t kExportMinimumFreeBytes = 400000000;
inline constexpr const char* kNoSpaceText =
    "Недостаточно свободного места на диске!\nВозможное решение: удалить ненужные архивы "
    "данных с помощью кнопки \"Очистить\"!";
inline constexpr const char* kNoSpaceCaption = "Внимание";

inline bool enoughSpaceForExport(uintmax_t availableBytes) {
  return availableBytes >= kExportMinimumFreeBytes;
}

// Bytes available to this user on the file system of `home` (or of its nearest existing
// parent); 0 when nothing can be measured.
uintmax_t availableSpaceAt(const std::filesystem::path& home);

}  // namespace zelmot::archive
