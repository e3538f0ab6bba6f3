#include "model/name_codec.h"

#include <array>

#include "model/text_util.h"
#include "model/value_messages.h"
#include "platform/ascii_text.h"

namespace zelmot::model {

namespace {

constexpr int kNameChars = 4;
constexpr uint8_t kSpaceCode = 78;
constexpr uint8_t kMaxCode = 79;
constexpr size_t kMaxNameTextLength = 8;

char symbolOf(uint8_t code) {
  const int symbol = code / 2;
  if (symbol <= 9) return static_cast<char>('0' + symbol);
  if (symbol <= 35) return static_cast<char>('A' + symbol - 10);
  switch (symbol) {
    case 36: return '-';
    case 37: return '_';
    case 38: return '/';
    default: return ' ';
  }
}

// Code of a character without its point; -1 when the character has no code.
int codeOf(char c) {
  if (c == ' ') return kSpaceCode;
  if (c == '-') return 72;
  if (c == '_') return 74;
  if (c >= '0' && c <= '9') return 2 * (c - '0');
  if (c >= 'A' && c <= 'Z') return 2 * (c - 'A' + 10);
  return -1;
}

}  // namespace

int decodeNetworkName(const uint8_t* data, int length, std::string& text) {
  if (data == nullptr || (length != 4 && length != 6)) {
    text = formatText(kReplyLengthError, length);
    return -1;
  }
  std::string name;
  for (int i = kNameChars - 1; i >= 0; --i) {
    const uint8_t code = data[i];
    if (code > kMaxCode) {
      text = "Недопустимый код символа в сетевом имени";
      return -1;
    }
    name += symbolOf(code);
    if (code % 2 == 1) name += '.';
  }
  text = name;
  return 1;
}

int encodeNetworkName(const std::string& text, std::vector<uint8_t>& data, std::string& message) {
  if (text.empty()) {
    message = "Сетевое имя пусто";
    return -1;
  }
  if (utf8Length(text) > kMaxNameTextLength) {
    message = "Сетевое имя слишком длинное";
    return -1;
  }
  std::array<uint8_t, kNameChars> codes;
  codes.fill(kSpaceCode);
  int coded = 0;
  bool pointTaken = false;
  for (char c : toUpperAscii(text)) {
    if (c == '.') {
      // A second point would turn the character into the next one: refuse it.
      if (coded == 0 || pointTaken) {
        message = "Недопустимый символ в сетевом имени";
        return -1;
      }
      codes[static_cast<size_t>(coded - 1)] += 1;
      pointTaken = true;
      continue;
    }
    if (coded == kNameChars) break;  // only a point still counts after the fourth character
    const int code = codeOf(c);
    if (code < 0) {
      message = "Недопустимый символ в сетевом имени";
      return -1;
    }
    codes[static_cast<size_t>(coded++)] = static_cast<uint8_t>(code);
    pointTaken = false;
  }
  data = {codes[3], codes[2], codes[1], codes[0]};
  return 1;
}

}  // namespace zelmot::model
