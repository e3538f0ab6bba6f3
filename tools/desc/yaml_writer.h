#pragma once
// Helpers for writing readable YAML by hand: every text is double-quoted with escapes, so
// any text read back is exactly the text written.
#include <cstdint>
#include <string>
#include <string_view>

namespace zelmot::desc {

std::string yamlQuoted(std::string_view text);
// Shortest decimal form that reads back as the same float.
std::string floatText(float value);

}  // namespace zelmot::desc
