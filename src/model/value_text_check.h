#pragma once
// The checks a value typed by the user must pass before it becomes the value text
// (SetValueText of a parameter). Warnings and the rounding notice go through the prompt of
// the converter's context, when it has one.
#include <string>

namespace zelmot::model {

class MyConverter;

struct ValueCheck {
  int result = 0;              // 1 accepted, 0 refused
  bool limitsRefusal = false;  // refused for the limits: the caller shows rangeMessage()
  std::string acceptedText;    // the value text to store when result is 1
};

ValueCheck checkValueText(const MyConverter& converter, const std::string& typed);

// "Допустимый диапазон значений: от ... до ...": three decimals for STORED_DOT, none for
// the integer types.
std::string rangeMessage(const MyConverter& converter);

}  // namespace zelmot::model
