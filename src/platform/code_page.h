#pragma once
// Conversions between UTF-8 (used everywhere inside the program) and the single-byte code
// pages of the device world: windows-1251 (description files, configuration files, device
// strings, HTML pages) and cp866 (DBF tables). Characters a page lacks become "?".
#include <string>
#include <string_view>

namespace zelmot {

std::string utf8ToCp1251(std::string_view utf8);
std::string cp1251ToUtf8(std::string_view bytes);
std::string utf8ToCp866(std::string_view utf8);
std::string cp866ToUtf8(std::string_view bytes);

// True when every character of the UTF-8 text exists in windows-1251.
bool fitsCp1251(std::string_view utf8);

}  // namespace zelmot
