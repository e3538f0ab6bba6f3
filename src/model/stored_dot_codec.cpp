#include "model/stored_dot_codec.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/number_text.h"
#include "model/text_util.h"
#include "model/value_messages.h"

namespace zelmot::model {

namespace {

// The last non-zero digit among the first three decimals. Digits are taken rounded, not
// cut: the single-precision value of 2232.961 is 2232.9609375, and cutting it would drop
// the third decimal the user typed.
int chosenDecimals(float value) {
  const double magnitude = std::fabs(static_cast<double>(value));
  for (int d = 3; d > 0; --d) {
    const double scaled = std::floor(magnitude * std::pow(10.0, d) + 0.5);
    if (std::fmod(scaled, 10.0) != 0.0) return d;
  }
  return 0;
}

double mantissaFor(float value, int decimals) {
  return std::floor(std::fabs(static_cast<double>(value)) * std::pow(10.0, decimals) + 0.5);
}

template <typename Number>
bool parseNumberText(const std::string& text, Number& value) {
  std::string_view trimmed = trim(text);
  // from_chars takes no leading '+', as the editors never produce one.
  const char* begin = trimmed.data();
  const char* end = trimmed.data() + trimmed.size();
  if (begin == end) return false;
  auto [next, error] = std::from_chars(begin, end, value, std::chars_format::fixed);
  return error == std::errc() && next == end && std::isfinite(value);
}

}  // namespace

bool parseFloatText(const std::string& text, float& value) { return parseNumberText(text, value); }

bool parseDoubleText(const std::string& text, double& value) {
  return parseNumberText(text, value);
}

std::string formatThreeDecimals(double value) {
  std::string text = fixedThreeText(value);
  if (text == "-0.000") text.erase(0, 1);
  return text;
}

int decodeStoredDot(const uint8_t* data, int length, std::string& text) {
  if (length <= 0) return 0;
  const int valueBytes = length > 2 ? length - 2 : length;
  if (valueBytes > kStoredDotMaxValueBytes) {
    text = formatText(kReplyLengthError, length);
    return -1;
  }
  const bool negative = (data[0] & 0x80) != 0;
  int decimals = (data[0] >> 4) & 0x07;
  uint64_t mantissa = data[0] & 0x0F;
  for (int i = 1; i < valueBytes; ++i) mantissa = (mantissa << 8) | data[i];

  // The device computes in single precision: keep its rounding.
  float value = static_cast<float>(mantissa);
  if (decimals >= 4) {
    value *= 0.0001f;
    decimals -= 4;
  }
  for (; decimals > 0; --decimals) value *= 0.1f;
  if (negative) value = -value;
  text = formatThreeDecimals(static_cast<double>(value));
  return 1;
}

int encodeStoredDot(const std::string& text, int32_t decimals, std::vector<uint8_t>& data,
                    std::string& message) {
  float value = 0.0f;
  if (!parseFloatText(text, value)) return 0;

  const bool chosen = decimals <= 0;
  int d = chosen ? chosenDecimals(value) : std::min<int32_t>(decimals, 3);
  double mantissa = mantissaFor(value, d);
  // Fewer decimals still carry a chosen-precision value that is too long for the layout;
  // with fixed decimals the parameter's precision must be kept.
  while (chosen && d > 0 && mantissa >= kStoredDotMantissaLimit) mantissa = mantissaFor(value, --d);
  if (mantissa >= kStoredDotMantissaLimit) {
    message = kValueTooLarge;
    return -1;
  }

  const auto m = static_cast<uint32_t>(mantissa);
  const bool negative = value < 0.0f && m != 0;  // -0.0 and values rounding to 0 are sent as +0
  const auto b0 = static_cast<uint8_t>((negative ? 0x80 : 0x00) | (d << 4));
  data.clear();
  if (m < (1u << 12)) {
    data = {static_cast<uint8_t>(b0 | (m >> 8)), static_cast<uint8_t>(m)};
  } else if (m < (1u << 20)) {
    data = {static_cast<uint8_t>(b0 | (m >> 16)), static_cast<uint8_t>(m >> 8),
            static_cast<uint8_t>(m)};
  } else {
    data = {static_cast<uint8_t>(b0 | (m >> 24)), static_cast<uint8_t>(m >> 16),
            static_cast<uint8_t>(m >> 8), static_cast<uint8_t>(m)};
  }
  return 1;
}

}  // namespace zelmot::model
