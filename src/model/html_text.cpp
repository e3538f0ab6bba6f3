#include "model/html_text.h"

#include <cctype>

namespace zelmot::model {

std::string escapeHtml(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string escapeListText(std::string_view text) {
  static constexpr std::string_view kFirstElement = "№1";
  std::string escaped = escapeHtml(text);
  for (size_t at = escaped.find(kFirstElement); at != std::string::npos;
       at = escaped.find(kFirstElement, at + 1)) {
    const size_t after = at + kFirstElement.size();
    if (after < escaped.size() && std::isdigit(static_cast<unsigned char>(escaped[after]))) continue;
    escaped.replace(at + kFirstElement.size() - 1, 1, "...");
  }
  return escaped;
}

}  // namespace zelmot::model
