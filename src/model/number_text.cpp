#include "model/number_text.h"

#include <langinfo.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "model/text_util.h"

namespace zelmot::model {

namespace {

// printf follows the decimal point of the C library's numeric locale; to_chars never does.
bool decimalPointIsDot() {
  const char* point = nl_langinfo(RADIXCHAR);
  return point != nullptr && std::strcmp(point, ".") == 0;
}

}  // namespace

std::string fixedThreeText(double value, int width) {
  if (!std::isfinite(value) || !decimalPointIsDot()) return formatText("%*.3f", width, value);
  // to_chars with a precision rounds the exact binary value as printf does.
  char buffer[400];  // the largest double has 309 integer digits
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  if (error != std::errc()) return formatText("%*.3f", width, value);
  const auto length = static_cast<int>(end - buffer);
  std::string text(static_cast<size_t>(std::max(width - length, 0)), ' ');
  return text.append(buffer, end);
}

std::string unsignedText(uint32_t value) {
  char buffer[16];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, error == std::errc() ? end : buffer);
}

}  // namespace zelmot::model
