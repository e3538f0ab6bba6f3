#pragma once
// The user manual: an HTML book installed under share/doc/zelmot, opened in the browser.
#include <filesystem>
#include <optional>

namespace zelmot::app {

inline constexpr const char* kHelpMissingText =
    "Файл справки не был найден!\nПопробуйте найти его самостоятельно.";
inline constexpr const char* kHelpMissingCaption = "Не найден файл...";
inline constexpr const char* kManualStartPage = "index.html";

// The manual's start page: <exeDir>/../share/doc/zelmot (the build tree and an install),
// then <prefix>/share/doc/zelmot; nullopt when neither has it.
std::optional<std::filesystem::path> findManual(const std::filesystem::path& exeDir,
                                                const std::filesystem::path& prefix);

}  // namespace zelmot::app
