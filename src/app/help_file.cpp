#include "app/help_file.h"

#include <system_error>

#include "platform/user_prompt.h"

namespace zelmot::app {

std::optional<std::filesystem::path> findManual(const std::filesystem::path& exeDir,
                                                const std::filesystem::path& prefix) {
  const std::filesystem::path manualDir = std::filesystem::path("share") / "doc" / "zelmot";
  for (const std::filesystem::path& base : {exeDir.empty() ? exeDir : exeDir.parent_path(), prefix}) {
    if (base.empty()) continue;
    const std::filesystem::path page = base / manualDir / kManualStartPage;
    std::error_code error;
    if (std::filesystem::is_regular_file(page, error)) return page;
  }
  return std::nullopt;
}

std::optional<std::filesystem::path> manualPage(const std::string& given,
                                                const std::filesystem::path& exeDir,
                                                const std::filesystem::path& prefix) {
  if (given.empty()) return findManual(exeDir, prefix);
  std::error_code error;
  if (!std::filesystem::is_regular_file(given, error)) return std::nullopt;
  return std::filesystem::path(given);
}

void tellHelpFailure(UserPrompt& prompt, const std::optional<std::filesystem::path>& page) {
  if (!page) {
    prompt.tell(kHelpMissingText, kHelpMissingCaption, PromptIcon::Information);
    return;
  }
  std::error_code error;
  std::filesystem::path shown = std::filesystem::absolute(*page, error);
  if (error) shown = *page;
  prompt.tell(kNoBrowserText + shown.lexically_normal().string(), kNoBrowserCaption,
              PromptIcon::Information);
}

}  // namespace zelmot::app
