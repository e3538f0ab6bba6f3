// The fast number texts against the printf formats they replace: every byte must match,
// since stored protocols and the pages other tools read carry these texts.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/number_text.h"

namespace zelmot::model {
namespace {

std::string printed(const char* format, double value) {
  char text[512];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

void expectBothWidths(double value) {
  ASSERT_EQ(fixedThreeText(value), printed("%.3f", value)) << std::hexfloat << value;
  ASSERT_EQ(fixedThreeText(value, 5), printed("%5.3f", value)) << std::hexfloat << value;
}

TEST(NumberText, EdgeValuesPrintAsPrintfDoes) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<double> values = {
      0.0, -0.0, 0.0004, -0.0004, 0.0005, -0.0005, 0.0006, 0.9995, 9.9995, -9.9995,
      // Exact binary halves of the last decimal: printf rounds these to even.
      0.0625, -0.0625, 0.1875, 1.0625, 2.5625, 1023.4375, 0.03125, 0.015625,
      1e15, -1e15, 123456789.0125, 4294967295.0, 1e300, -1e300,
      std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
      std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min(),
      inf, -inf, std::numeric_limits<double>::quiet_NaN(),
      -std::numeric_limits<double>::quiet_NaN()};
  for (const double value : values) expectBothWidths(value);
  // Around the largest values printed from whole thousandths in 64 bits, and past them.
  for (int power = 40; power <= 80; ++power) {
    const double two = std::ldexp(1.0, power);
    for (const double value : {two, std::nextafter(two, 0.0), std::nextafter(two, 2 * two),
                               -two, 1.5 * two, 18446744073709551.0}) {
      expectBothWidths(value);
    }
  }
}

// The decoders print single-precision readings widened to double: walk the float range.
TEST(NumberText, SinglePrecisionValuesPrintAsPrintfDoes) {
  for (uint64_t bits = 0; bits <= 0xFFFFFFFFull; bits += 99991) {
    expectBothWidths(static_cast<double>(std::bit_cast<float>(static_cast<uint32_t>(bits))));
  }
  // Every float from 0 to about 70, where most readings lie, at a finer step.
  for (uint32_t bits = 0; bits < 0x428C0000u; bits += 3701) {
    expectBothWidths(static_cast<double>(std::bit_cast<float>(bits)));
  }
}

TEST(NumberText, DecimalsNearRoundingEdgesPrintAsPrintfDoes) {
  std::mt19937_64 random(20261208);
  std::uniform_int_distribution<int64_t> thousandths(-100'000'000, 100'000'000);
  for (int i = 0; i < 50'000; ++i) {
    const double half = (static_cast<double>(thousandths(random)) + 0.5) / 1000.0;
    expectBothWidths(half);
    expectBothWidths(std::nextafter(half, 0.0));
    expectBothWidths(std::nextafter(half, std::numeric_limits<double>::infinity()));
  }
  std::uniform_int_distribution<uint64_t> anyBits;
  for (int i = 0; i < 50'000; ++i) expectBothWidths(std::bit_cast<double>(anyBits(random)));
}

TEST(NumberText, UnsignedValuesPrintAsPrintfDoes) {
  char text[16];
  for (uint64_t value = 0; value <= 0xFFFFFFFFull; value = value * 3 + 1) {
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    ASSERT_EQ(unsignedText(static_cast<uint32_t>(value)), text);
  }
  for (uint32_t value = 0; value <= 70'000; ++value) {
    std::snprintf(text, sizeof text, "%u", value);
    ASSERT_EQ(unsignedText(value), text);
  }
  EXPECT_EQ(unsignedText(0xFFFFFFFFu), "4294967295");
}

}  // namespace
}  // namespace zelmot::model
