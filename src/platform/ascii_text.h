#pragma once
// Device mnemonics and names in files are ASCII and compare without regard to the case of
// their letters. Only A..Z and a..z fold; other bytes (UTF-8 sequences) stay as they are.
#include <string>
#include <string_view>

namespace zelmot {

char toLowerAscii(char c);
char toUpperAscii(char c);

// True when both texts are equal after folding ASCII letters.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

std::string toUpperAscii(std::string_view text);
std::string toLowerAscii(std::string_view text);

}  // namespace zelmot
