#include "archive/export_space.h"

#include <system_error>

namespace zelmot::archive {

uintmax_t availableSpaceAt(const std::filesystem::path& home) {
  std::filesystem::path probe = home;
  for (;;) {
    std::error_code error;
    const std::filesystem::space_info info = std::filesystem::space(probe, error);
    if (!error) return info.available;
    if (!probe.has_relative_path()) return 0;
    probe = probe.parent_path();
  }
}

}  // namespace zelmot::archive
