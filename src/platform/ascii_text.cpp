#include "platform/ascii_text.h"

namespace zelmot {

char toLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char toUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (toLowerAscii(a[i]) != toLowerAscii(b[i])) return false;
  }
  return true;
}

std::string toUpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = toUpperAscii(c);
  return result;
}

std::string toLowerAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = toLowerAscii(c);
  return result;
}

}  // namespace zelmot
