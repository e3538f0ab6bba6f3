#include "model/clock_codec.h"

#include "model/text_util.h"
#include "model/value_messages.h"

namespace zelmot::model {

namespace {

enum ClockField { kFraction, kSeconds, kMinutes, kHours, kDay, kMonth, kYear, kFieldCount };

std::string clockText(const ClockFields& f) {
  std::string text;
  if (f[kDay] != -1) text += formatText("%02i.", f[kDay]);
  if (f[kMonth] != -1) text += formatText("%02i.", f[kMonth]);
  if (f[kYear] != -1) text += formatText("20%02i ", f[kYear]);
  if (f[kHours] != -1) text += formatText("%02i:", f[kHours]);
  if (f[kMinutes] != -1) text += formatText("%02i:", f[kMinutes]);
  if (f[kSeconds] != -1) text += formatText("%02i", f[kSeconds]);
  if (f[kFraction] != -1) text += formatText(".%i", f[kFraction]);
  return text;
}

bool parseByte(std::string_view item, uint8_t& value) {
  item = trim(item);
  if (item.empty() || item.size() > 3 || !consistsOf(item, "0123456789")) return false;
  int number = 0;
  for (char c : item) number = number * 10 + (c - '0');
  if (number > 255) return false;
  value = static_cast<uint8_t>(number);
  return true;
}

}  // namespace

int decodeRealTimeClock(const uint8_t* data, int length, std::string& text, ClockFields& fields) {
  if (data == nullptr || length <= 0) return 0;
  const uint8_t descriptor = data[length - 1];
  const int first = descriptor & 0x0F;
  const int count = descriptor >> 4;
  if (count > length - 1) {
    text = formatText(kReplyLengthError, length);
    return -1;
  }
  fields.fill(-1);
  for (int i = 0; i < count; ++i) {
    const int index = first + count - 1 - i;
    if (index < kFieldCount) fields[static_cast<size_t>(index)] = data[i];
  }
  if (fields[kDay] != -1) fields[kDay] += 1;
  if (fields[kMonth] != -1) fields[kMonth] += 1;
  text = clockText(fields);
  return 1;
}

int encodeRealTimeClock(const std::string& text, std::vector<uint8_t>& data, std::string& message) {
  std::string_view trimmed = trim(text);
  if (trimmed.empty()) return 0;
  std::vector<uint8_t> bytes;
  for (const std::string& item : splitText(trimmed, '|')) {
    uint8_t value = 0;
    if (!parseByte(item, value)) {
      message = kInvalidValue;
      return -1;
    }
    bytes.push_back(value);
  }
  data = std::move(bytes);
  return 1;
}

}  // namespace zelmot::model
