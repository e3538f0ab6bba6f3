#include "exchange/elapsed_text.h"

#include <cstdio>

namespace zelmot::exchange {
namespace {

std::string twoDigits(int64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%02lld", static_cast<long long>(value));
  return buffer;
}

}  // namespace

std::string formatElapsed(int64_t seconds, const std::string& pattern) {
  if (seconds < 0) seconds = 0;
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      out += pattern[i];
      continue;
    }
    switch (pattern[++i]) {
      case 'D': out += std::to_string(seconds / 86400); break;
      case 'H': out += twoDigits(seconds / 3600 % 24); break;
      case 'M': out += twoDigits(seconds / 60 % 60); break;
      case 'S': out += twoDigits(seconds % 60); break;
      case '%': out += '%'; break;
      default:
        out += '%';
        out += pattern[i];
    }
  }
  return out;
}

std::string counterText(int done, int total) {
  if (total == 0) return {};
  return std::to_string(done) + " из " + std::to_string(total);
}

}  // namespace zelmot::exchange
