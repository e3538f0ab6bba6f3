#pragma once
// Shortening a typed STORED_DOT text to the precision the parameter can hold.
#include <cstdint>
#include <string>

namespace zelmot::model {

// decimals > 0: the text is cut (not rounded) after that many digits behind the first ".".
// decimals <= 0: the digits (without the ".") must form an integer N; while N lies outside
// [minimum, maximum] and has two or more digits its last digit is dropped, and a "." left
// at the end goes too. A parameter without limits (both 0) has no range: there only digits
// behind the "." are dropped, and only while N does not fit the STORED_DOT mantissa.
// 1 with `rounded` set, -1 when the text is not a number of that form.
int roundStoredDotText(const std::string& text, int32_t decimals, double minimum, double maximum,
                       std::string& rounded);

}  // namespace zelmot::model
