#include "app/help_file.h"

#include <system_error>

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

}  // namespace zelmot::app
