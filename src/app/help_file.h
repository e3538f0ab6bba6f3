#pragma once
// The user manual: an HTML book installed under share/doc/zelmot, opened in the browser.
#include <filesystem>
#include <optional>
#include <string>

namespace zelmot {
class UserPrompt;
}

namespace zelmot::app {

inline constexpr const char* kHelpMissingText =
    "Файл справки не был найден!\nПопробуйте найти его самостоятельно.";
inline constexpr const char* kHelpMissingCaption = "Не найден файл...";
inline constexpr const char* kManualStartPage = "index.html";
inline constexpr const char* kNoBrowserText =
    "Не удалось запустить браузер для просмотра справки.\n"
    "Руководство пользователя находится в файле:\n";
inline constexpr const char* kNoBrowserCaption = "Справка";

// The manual's start page: <exeDir>/../share/doc/zelmot (the build tree and an install),
// then <prefix>/share/doc/zelmot; nullopt when neither has it.
std::optional<std::filesystem::path> findManual(const std::filesystem::path& exeDir,
                                                const std::filesystem::path& prefix);

// The page to open: `given` when set (nullopt when it is no file), else findManual().
std::optional<std::filesystem::path> manualPage(const std::string& given,
                                                const std::filesystem::path& exeDir,
                                                const std::filesystem::path& prefix);

// The manual could not be shown: it is missing (page empty), or no browser took it, and
// then the user is told where the file is to open it by hand.
void tellHelpFailure(UserPrompt& prompt, const std::optional<std::filesystem::path>& page);

}  // namespace zelmot::app
