#include "support/file_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace zelmot::test_support {

std::string readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> readWholeFileBytes(const std::filesystem::path& path) {
  const std::string text = readWholeFile(path);
  return {text.begin(), text.end()};
}

void writeWholeFile(const std::filesystem::path& path, const std::string& text) {
  std::error_code ignored;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

}  // namespace zelmot::test_support
