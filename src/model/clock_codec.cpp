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

// One field as the clock text shows it: "%02i." day, "%02i." month, "20%02i " year,
// "%02i:" hours, "%02i:" minutes, "%02i" seconds, ".%i" fraction, in this order.
struct TextPiece {
  ClockField field;
  std::string_view prefix;
  std::string_view suffix;
  int low;
  int high;
};

constexpr TextPiece kTextPieces[] = {
    {kDay, "", ".", 1, 31},     {kMonth, "", ".", 1, 12},   {kYear, "20", " ", 0, 99},
    {kHours, "", ":", 0, 23},   {kMinutes, "", ":", 0, 59}, {kSeconds, "", "", 0, 59},
    {kFraction, ".", "", 0, 255},
};

bool takeText(std::string_view text, size_t& at, std::string_view expected) {
  if (text.substr(at, expected.size()) != expected) return false;
  at += expected.size();
  return true;
}

bool takeNumber(std::string_view text, size_t& at, size_t maxDigits, int& value) {
  size_t digits = 0;
  value = 0;
  while (at < text.size() && digits < maxDigits && text[at] >= '0' && text[at] <= '9') {
    value = value * 10 + (text[at++] - '0');
    ++digits;
  }
  return digits > 0;
}

// The fields lowest..highest (all present between them) read from the clock text.
bool parseClockText(std::string_view text, int lowest, int highest, ClockFields& fields) {
  fields.fill(-1);
  size_t at = 0;
  for (const TextPiece& piece : kTextPieces) {
    if (piece.field < lowest || piece.field > highest) continue;
    int value = 0;
    const size_t maxDigits = piece.field == kYear ? 2 : 3;
    if (!takeText(text, at, piece.prefix) || !takeNumber(text, at, maxDigits, value)) return false;
    if (value < piece.low || value > piece.high) return false;
    // A space or colon that would end the text may be left out ("15.04.2009 10:05").
    const bool optionalAtEnd = (piece.suffix == " " || piece.suffix == ":") && at == text.size();
    if (!takeText(text, at, piece.suffix) && !optionalAtEnd) {
      return false;
    }
    fields[static_cast<size_t>(piece.field)] = value;
  }
  return at == text.size();
}

// The data field of the fields lowest..highest: highest first, then the descriptor.
std::vector<uint8_t> clockData(const ClockFields& fields, int lowest, int highest) {
  std::vector<uint8_t> data;
  for (int field = highest; field >= lowest; --field) {
    int value = fields[static_cast<size_t>(field)];
    if (field == kDay || field == kMonth) --value;  // the device counts them from 0
    data.push_back(static_cast<uint8_t>(value));
  }
  data.push_back(static_cast<uint8_t>(lowest + 16 * (highest - lowest + 1)));
  return data;
}

bool encodeClockText(std::string_view text, std::vector<uint8_t>& data) {
  for (int lowest = 0; lowest < kFieldCount; ++lowest) {
    for (int highest = kFieldCount - 1; highest >= lowest; --highest) {
      ClockFields fields{};
      if (!parseClockText(text, lowest, highest, fields)) continue;
      data = clockData(fields, lowest, highest);
      return true;
    }
  }
  return false;
}

bool encodeByteList(std::string_view text, std::vector<uint8_t>& data) {
  std::vector<uint8_t> bytes;
  for (const std::string& item : splitText(text, '|')) {
    uint8_t value = 0;
    if (!parseByte(item, value)) return false;
    bytes.push_back(value);
  }
  data = std::move(bytes);
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
  const bool encoded = trimmed.find('|') != std::string_view::npos
                           ? encodeByteList(trimmed, data)
                           : encodeClockText(trimmed, data) || encodeByteList(trimmed, data);
  if (encoded) return 1;
  message = kInvalidValue;
  return -1;
}

}  // namespace zelmot::model
