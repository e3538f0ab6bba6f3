// Encode then decode gives the value back within the type's precision, over many values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "model/my_converter.h"
#include "model/value_context.h"

namespace zelmot::model {
namespace {

struct Converter {
  explicit Converter(const std::string& descriptor, int decimals = 0) {
    converter.setName("x");
    converter.setTypeDescriptor(descriptor);
    converter.setDecimals(decimals);
  }

  // Encodes the text, then decodes the bytes as a reply carrying them (followed by the
  // two bytes that longer replies add after the value, when asked); fails the test when
  // either step refuses.
  std::string roundTrip(const std::string& text, bool replyTail = false) {
    std::vector<uint8_t> data;
    std::string message;
    if (converter.TextToData(text, data, message) != 1) {
      ADD_FAILURE() << "encode refused '" << text << "': " << message;
      return {};
    }
    if (replyTail) data.insert(data.end(), {0x00, 0x05});
    std::string decoded;
    if (converter.DataToText(data.data(), static_cast<int>(data.size()), decoded) != 1) {
      ADD_FAILURE() << "decode refused '" << text << "': " << decoded;
    }
    return decoded;
  }

  MyConverter converter;
};

std::string format(const char* pattern, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

TEST(RoundTrip, StoredDotWithChosenDecimals) {
  Converter c("STORED_DOT");
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> thousandths(-99'999'999, 99'999'999);
  for (int i = 0; i < 20000; ++i) {
    // Up to three decimals and at most eight significant digits.
    const double value = thousandths(rng) / 1000.0;
    // 3- and 4-byte values only come back inside longer replies.
    const double decoded = std::stod(c.roundTrip(format("%.3f", value), true));
    // Single precision carries about seven significant digits; encoding and decoding
    // each round a few times.
    const double tolerance = 0.0005 + std::fabs(value) * 6e-7;
    ASSERT_NEAR(decoded, value, tolerance) << format("%.3f", value);
  }
}

TEST(RoundTrip, StoredDotWithFixedDecimalsKeepsThatPrecision) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> values(-20000.0, 20000.0);
  for (int decimals : {1, 2, 3}) {
    Converter c("STORED_DOT", decimals);
    const double step = std::pow(10.0, -decimals);
    for (int i = 0; i < 5000; ++i) {
      const double value = values(rng);
      const double decoded = std::stod(c.roundTrip(format("%.6f", value), true));
      ASSERT_NEAR(decoded, value, step / 2 + std::fabs(value) * 6e-7)
          << decimals << " decimals, " << value;
    }
  }
}

TEST(RoundTrip, DecDotEveryTwoByteValue) {
  Converter c("DEC_dot");
  for (unsigned value = 0; value <= 0xFFFF; ++value) {
    const std::string text = std::to_string(value);
    ASSERT_EQ(c.roundTrip(text), text);
    ASSERT_EQ(c.roundTrip(text, true), text);
  }
}

TEST(RoundTrip, ClockDurationEveryTwoByteValue) {
  Converter c("CLK_frm");
  for (unsigned seconds = 0; seconds <= 0xFFFF; ++seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u", seconds / 60, seconds % 60);
    ASSERT_EQ(c.roundTrip(text), text);
    ASSERT_EQ(c.roundTrip(text, true), text);
  }
}

TEST(RoundTrip, NetworkNameEveryEncodableCodeInEveryPosition) {
  Converter c("name");
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> anyCode(0, 79);
  auto encodable = [](int code) { return code / 2 != 38; };  // "/" is shown but not typed
  for (int position = 0; position < 4; ++position) {
    for (int code = 0; code < 80; ++code) {
      if (!encodable(code)) continue;
      std::vector<uint8_t> bytes(4);
      for (auto& b : bytes) {
        do b = static_cast<uint8_t>(anyCode(rng)); while (!encodable(b));
      }
      bytes[position] = static_cast<uint8_t>(code);
      std::string text;
      ASSERT_EQ(c.converter.DataToText(bytes.data(), 4, text), 1);
      std::vector<uint8_t> encoded;
      std::string message;
      ASSERT_EQ(c.converter.TextToData(text, encoded, message), 1) << text << ": " << message;
      ASSERT_EQ(encoded, bytes) << "'" << text << "'";
      bytes.insert(bytes.end(), {0xAA, 0xBB});  // a 6-byte reply reads the same
      std::string fromLongReply;
      ASSERT_EQ(c.converter.DataToText(bytes.data(), 6, fromLongReply), 1);
      ASSERT_EQ(fromLongReply, text);
    }
  }
}

TEST(RoundTrip, EnumerationEveryItem) {
  std::string descriptor;
  for (int i = 0; i < 127; ++i) descriptor += (i ? ":Пункт_" : "Пункт_") + std::to_string(i);
  Converter c(descriptor);
  for (int i = 0; i < 127; ++i) {
    const std::string item = "Пункт " + std::to_string(i);
    ASSERT_EQ(c.roundTrip(item), item);
  }
}

TEST(RoundTrip, RealTimeClockFieldsReachTheContext) {
  Converter c("Real_Time_Clock");
  ValueContext context;
  c.converter.setContext(&context);
  std::mt19937 rng(5);
  for (int i = 0; i < 2000; ++i) {
    const int year = static_cast<int>(rng() % 100), month = static_cast<int>(rng() % 12);
    const int day = static_cast<int>(rng() % 31), hours = static_cast<int>(rng() % 24);
    const int minutes = static_cast<int>(rng() % 60), seconds = static_cast<int>(rng() % 60);
    char text[64];
    std::snprintf(text, sizeof text, "%d|%d|%d|%d|%d|%d|%d", year, month, day, hours, minutes,
                  seconds, 0x61);
    char expected[64];
    std::snprintf(expected, sizeof expected, "%02d.%02d.20%02d %02d:%02d:%02d", day + 1,
                  month + 1, year, hours, minutes, seconds);
    ASSERT_EQ(c.roundTrip(text), expected);
    ASSERT_EQ(context.clock(), (ClockFields{-1, seconds, minutes, hours, day + 1, month + 1, year}));
  }
}

// What a read shows is what "write all" sends back: every contiguous run of fields.
TEST(RoundTrip, RealTimeClockShownTextEncodesToTheSameFields) {
  Converter c("Real_Time_Clock");
  const uint8_t fields[] = {7, 9, 3, 14, 10, 5, 7};  // fraction .. year, as the device counts
  for (int lowest = 0; lowest < 7; ++lowest) {
    for (int highest = lowest + 1; highest < 7; ++highest) {  // one field alone is ambiguous
      std::vector<uint8_t> reply;
      for (int field = highest; field >= lowest; --field) reply.push_back(fields[field]);
      reply.push_back(static_cast<uint8_t>(lowest + 16 * (highest - lowest + 1)));
      std::string shown;
      ASSERT_EQ(c.converter.DataToText(reply.data(), static_cast<int>(reply.size()), shown), 1);
      std::vector<uint8_t> data;
      std::string message;
      ASSERT_EQ(c.converter.TextToData(shown, data, message), 1) << shown;
      EXPECT_EQ(data, reply) << shown;
    }
  }
}

}  // namespace
}  // namespace zelmot::model
