#include "app/table_file_name.h"

#include <filesystem>

#include "platform/ascii_text.h"

namespace zelmot::app {

std::string suggestedTableName(const std::string& configurationPath) {
  const std::filesystem::path path(configurationPath);
  std::string name = path.filename().string();
  if (name.empty()) name = "Параметры";
  constexpr std::string_view kExtension = ".zel";
  if (name.size() > kExtension.size() &&
      equalsIgnoreCase(std::string_view(name).substr(name.size() - kExtension.size()), kExtension)) {
    name.resize(name.size() - kExtension.size());
  }
  return (path.parent_path() / (name + ".dbf")).string();
}

}  // namespace zelmot::app
