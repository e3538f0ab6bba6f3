#include "link/port_settings.h"

#include <climits>

#include "platform/ascii_text.h"

namespace zelmot::link {

int decimalTextToInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

bool parityCodeForText(std::string_view text, int& code) {
  struct Entry {
    std::string_view text;
    int code;
  };
  static constexpr Entry kEntries[] = {{"Отсутствует", 3}, {"Четность", 1}, {"Нечетность", 4}};
  for (const auto& entry : kEntries) {
    if (equalsIgnoreCase(text, entry.text)) {
      code = entry.code;
      return true;
    }
  }
  return false;
}

std::string parityCodeText(int code) {
  switch (code) {
    case 0: return "нет (без проверки)";
    case 1: return "Четность";
    case 2: return "маркер";
    case 3: return "Отсутствует";
    case 4: return "Нечетность";
    case 5: return "пробел";
    default: return "код " + std::to_string(code);
  }
}

}  // namespace zelmot::link
