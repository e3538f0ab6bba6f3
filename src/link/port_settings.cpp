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

bool parityForText(std::string_view text, Parity& parity) {
  struct Entry {
    std::string_view text;
    Parity parity;
  };
  static constexpr Entry kEntries[] = {
      {"Отсутствует", Parity::None}, {"Четность", Parity::Even}, {"Нечетность", Parity::Odd}};
  for (const auto& entry : kEntries) {
    if (equalsIgnoreCase(text, entry.text)) {
      parity = entry.parity;
      return true;
    }
  }
  return false;
}

std::string parityText(Parity parity) {
  switch (parity) {
    case Parity::NoneUnchecked: return "нет (без проверки)";
    case Parity::Even: return "Четность";
    case Parity::Mark: return "маркер";
    case Parity::None: return "Отсутствует";
    case Parity::Odd: return "Нечетность";
    case Parity::Space: return "пробел";
  }
  return "код " + std::to_string(parityCode(parity));
}

}  // namespace zelmot::link
