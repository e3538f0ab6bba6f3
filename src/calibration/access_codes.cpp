#include "calibration/access_codes.h"

#include <array>
#include <cctype>
#include <climits>

namespace zelmot::calibration {
namespace {

constexpr std::array<int, 4> kAccessCodes{417, 582, 739, 264};
constexpr size_t kTypedLimit = 256;
constexpr int kWrongCodesThatClose = 4;

}  // namespace

int accessCode(int type) {
  if (type < 1 || type > static_cast<int>(kAccessCodes.size())) return -1;
  return kAccessCodes[static_cast<size_t>(type - 1)];
}

long typedCodeValue(const std::string& text) {
  const std::string typed = text.substr(0, kTypedLimit);
  size_t at = 0;
  while (at < typed.size() && std::isspace(static_cast<unsigned char>(typed[at]))) ++at;
  bool negative = false;
  if (at < typed.size() && (typed[at] == '+' || typed[at] == '-')) negative = typed[at++] == '-';
  long value = 0;
  for (; at < typed.size() && std::isdigit(static_cast<unsigned char>(typed[at])); ++at) {
    const int digit = typed[at] - '0';
    if (value > (LONG_MAX - digit) / 10) return negative ? LONG_MIN : LONG_MAX;  // saturate
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

bool codeMatches(int type, const std::string& typed) {
  const int code = accessCode(type);
  return code >= 0 && typedCodeValue(typed) == code;
}

bool WrongCodeCounter::countWrong() {
  ++count_;
  if (count_ % kWrongCodesThatClose != 0) return false;
  count_ = 0;
  return true;
}

}  // namespace zelmot::calibration
