#include "model/number_text.h"

#include <langinfo.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "model/text_util.h"

namespace zelmot::model {

namespace {

// printf follows the decimal point of the C library's numeric locale; to_chars never does.
bool decimalPointIsDot() {
  const char* point = nl_langinfo(RADIXCHAR);
  return point != nullptr && std::strcmp(point, ".") == 0;
}

constexpr uint64_t kThousand = 1000;
constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1075;  // of the mantissa taken as an integer

// The magnitude of a finite value in thousandths, rounded half to even as printf does; false
// when it does not fit in 64 bits. The value is mantissa * 2^exponent exactly, so the
// rounding needs only integer arithmetic.
bool roundedThousandths(double value, uint64_t& thousandths) {
  const auto bits = std::bit_cast<uint64_t>(value);
  const auto biased = static_cast<int>((bits >> kMantissaBits) & 0x7FF);
  uint64_t mantissa = bits & ((uint64_t{1} << kMantissaBits) - 1);
  if (biased != 0) mantissa |= uint64_t{1} << kMantissaBits;
  const int exponent = (biased == 0 ? 1 : biased) - kExponentBias;
  if (exponent >= 0) {
    if (exponent > 10 || (mantissa << exponent) > UINT64_MAX / kThousand) return false;
    thousandths = (mantissa << exponent) * kThousand;
    return true;
  }
  const int shift = -exponent;
  if (shift >= 64) {  // below 2^53 * 2^-64 the value is under half a thousandth
    thousandths = 0;
    return true;
  }
  const uint64_t scaled = mantissa * kThousand;  // below 2^63
  const uint64_t rest = scaled & ((uint64_t{1} << shift) - 1);
  const uint64_t half = uint64_t{1} << (shift - 1);
  thousandths = scaled >> shift;
  if (rest > half || (rest == half && (thousandths & 1) != 0)) ++thousandths;
  return true;
}

// "-" when the sign bit is set (printf keeps it on zero), the integer part, three decimals.
char* putFixedThree(char* out, char* last, bool negative, uint64_t thousandths) {
  if (negative) *out++ = '-';
  out = std::to_chars(out, last, thousandths / kThousand).ptr;
  const auto fraction = static_cast<unsigned>(thousandths % kThousand);
  *out++ = '.';
  *out++ = static_cast<char>('0' + fraction / 100);
  *out++ = static_cast<char>('0' + fraction / 10 % 10);
  *out++ = static_cast<char>('0' + fraction % 10);
  return out;
}

}  // namespace

std::string fixedThreeText(double value, int width) {
  if (!std::isfinite(value) || !decimalPointIsDot()) return formatText("%*.3f", width, value);
  char buffer[400];  // the largest double has 309 integer digits
  char* end = buffer;
  uint64_t thousandths = 0;
  if (roundedThousandths(value, thousandths)) {
    end = putFixedThree(buffer, buffer + sizeof buffer, std::signbit(value), thousandths);
  } else {
    // to_chars with a precision rounds the exact binary value as printf does.
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    if (written.ec != std::errc()) return formatText("%*.3f", width, value);
    end = written.ptr;
  }
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
