#include "model/stored_dot_rounding.h"

#include "model/stored_dot_codec.h"
#include "model/text_util.h"

namespace zelmot::model {

namespace {

// More digits than this cannot be held in the integer and are out of any range anyway.
constexpr size_t kMaxIntegerDigits = 18;

std::string cutAfterDecimals(const std::string& text, int32_t decimals) {
  const size_t point = text.find('.');
  if (point == std::string::npos) return text;
  const size_t keep = point + 1 + static_cast<size_t>(decimals);
  return keep < text.size() ? text.substr(0, keep) : text;
}

int64_t digitsValue(const std::string& digits, bool negative) {
  int64_t value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return negative ? -value : value;
}

}  // namespace

int roundStoredDotText(const std::string& text, int32_t decimals, double minimum, double maximum,
                       std::string& rounded) {
  if (decimals > 0) {
    rounded = cutAfterDecimals(text, decimals);
    return 1;
  }

  std::string shortened = text;
  const bool negative = !shortened.empty() && shortened.front() == '-';
  std::string digits = shortened.substr(negative ? 1 : 0);
  if (const size_t point = digits.find('.'); point != std::string::npos) digits.erase(point, 1);
  if (digits.empty() || !consistsOf(digits, "0123456789")) return -1;

  const bool hasLimits = minimum != 0.0 || maximum != 0.0;
  auto fractionLeft = [&]() {
    const size_t point = shortened.find('.');
    return point != std::string::npos && point + 1 < shortened.size();
  };
  auto outOfRange = [&]() {
    if (digits.size() > kMaxIntegerDigits) return true;
    const int64_t n = digitsValue(digits, negative);
    if (hasLimits) return static_cast<double>(n) < minimum || static_cast<double>(n) > maximum;
    return (negative ? -n : n) >= static_cast<int64_t>(kStoredDotMantissaLimit);
  };
  // Without limits only digits behind the point may go: dropping integer digits would
  // change the magnitude of the value.
  while (digits.size() >= 2 && (hasLimits || fractionLeft()) && outOfRange()) {
    if (shortened.back() == '.') shortened.pop_back();
    shortened.pop_back();
    digits.pop_back();
  }
  if (!shortened.empty() && shortened.back() == '.') shortened.pop_back();
  rounded = shortened;
  return 1;
}

}  // namespace zelmot::model
