#include "model/integer_codecs.h"

#include "model/number_text.h"
#include "model/text_util.h"
#include "model/value_messages.h"

namespace zelmot::model {

namespace {

void putShortInteger(uint32_t value, std::vector<uint8_t>& data) {
  if ((value & 0xFF00) != 0) {
    data = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
  } else {
    data = {static_cast<uint8_t>(value)};
  }
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool readShortInteger(const uint8_t* data, int length, uint32_t& value) {
  if (data == nullptr) return false;
  if (length == 1 || length == 3) {
    value = data[0];
    return true;
  }
  if (length == 2 || length == 4) {
    value = (static_cast<uint32_t>(data[0]) << 8) | data[1];
    return true;
  }
  return false;
}

int decodeDecDot(const uint8_t* data, int length, std::string& text) {
  uint32_t value = 0;
  if (!readShortInteger(data, length, value)) {
    text = formatText(kReplyLengthError, length);
    return -1;
  }
  text = unsignedText(value);
  return 1;
}

int encodeDecDot(const std::string& text, std::vector<uint8_t>& data, std::string& message) {
  // The leading integer as the standard conversion reads it: blanks, a sign, digits.
  std::string_view rest = trimLeft(text);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  if (rest.empty() || !isDigit(rest.front())) return 0;
  uint64_t magnitude = 0;
  for (char c : rest) {
    if (!isDigit(c)) break;
    magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
    if (magnitude > kMaxTwoByteValue + 1ull) break;  // already too large either way
  }
  if (magnitude > kMaxTwoByteValue) {
    message = kValueTooLarge;
    return -1;
  }
  // Negative numbers travel as their low 16 bits, as the device's own conversion sends them.
  const auto value = static_cast<uint32_t>(negative ? 0u - static_cast<uint32_t>(magnitude)
                                                    : static_cast<uint32_t>(magnitude));
  putShortInteger(value & 0xFFFF, data);
  return 1;
}

int decodeClock(const uint8_t* data, int length, std::string& text) {
  uint32_t seconds = 0;
  if (!readShortInteger(data, length, seconds)) {
    text = formatText(kReplyLengthError, length);
    return -1;
  }
  text = formatText("%02u:%02u", seconds / 60, seconds % 60);
  return 1;
}

bool clockTextToWireSeconds(const std::string& text, uint32_t& seconds) {
  uint32_t accumulator = 0;
  bool afterColon = false;
  for (char c : text) {
    if (c == ':') {
      afterColon = true;
      continue;
    }
    if (!isDigit(c)) return false;
    accumulator = accumulator * (afterColon ? 6 : 10) + static_cast<uint32_t>(c - '0');
    afterColon = false;
    if (accumulator > kMaxTwoByteValue) return false;
  }
  seconds = accumulator;
  return true;
}

int encodeClock(const std::string& text, std::vector<uint8_t>& data, std::string& message) {
  const std::string trimmed(trimRight(text));
  if (trimmed.empty()) return 0;
  if (!consistsOf(trimmed, "0123456789:")) return -1;
  uint32_t seconds = 0;
  if (!clockTextToWireSeconds(trimmed, seconds)) {
    message = kValueTooLarge;
    return -1;
  }
  putShortInteger(seconds, data);
  return 1;
}

}  // namespace zelmot::model
