#pragma once
// Device mnemonics are ASCII and compare ignoring the case of Latin letters only.
#include <string_view>

namespace zelmot::exchange {

bool sameName(std::string_view a, std::string_view b);

}  // namespace zelmot::exchange
