#include "cli/output_path.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/os_error.h"

namespace zelmot::cli {

std::string unwritableOutputText(const std::string& path) {
  namespace fs = std::filesystem;
  const std::string prefix = "Не удается записать файл \"" + path + "\": ";
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::exists(status)) {
    if (fs::is_directory(status)) return prefix + osErrorText(EISDIR);
    if (::access(path.c_str(), W_OK) != 0) return prefix + osErrorText(errno);
  }
  // Saving writes a temporary file beside it and renames it: the folder must take it.
  fs::path folder = fs::path(path).parent_path();
  if (folder.empty()) folder = ".";
  if (!fs::is_directory(folder, error)) return prefix + osErrorText(ENOENT);
  return ::access(folder.c_str(), W_OK | X_OK) == 0 ? std::string() : prefix + osErrorText(errno);
}

}  // namespace zelmot::cli
