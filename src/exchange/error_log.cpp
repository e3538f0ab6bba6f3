#include "exchange/error_log.h"

#include <cstdio>

namespace zelmot::exchange {

bool appendErrorLogLine(const std::string& path, const std::string& name, bool hasLinearIndex,
                        int32_t linearIndex, const std::string& errorText) {
  if (path.empty() || errorText.empty()) return true;
  std::string line = name;
  if (hasLinearIndex) line += ":" + std::to_string(linearIndex);
  line += " - " + errorText + "\n";
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return false;
  const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
  return std::fclose(file) == 0 && written;
}

bool truncateErrorLog(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  return std::fclose(file) == 0;
}

}  // namespace zelmot::exchange
