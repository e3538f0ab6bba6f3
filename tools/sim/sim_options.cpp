#include "sim_options.h"

#include <charconv>

namespace zelmot::sim {
namespace {

bool parseInt(std::string_view text, long minimum, long maximum, long& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value >= minimum && value <= maximum;
}

}  // namespace

bool parseStatusOverride(const std::string& text, StatusOverride& status, std::string& error) {
  error = "ожидалось NAME:INDEX=CODE или NAME:INDEX=245/SUBCODE, получено '" + text + "'";
  const size_t colon = text.find(':');
  const size_t equals = text.find('=');
  if (colon == std::string::npos || colon == 0 || equals == std::string::npos || equals < colon) {
    return false;
  }
  std::string_view view(text);
  std::string_view codePart = view.substr(equals + 1);
  std::string_view subPart;
  if (size_t slash = codePart.find('/'); slash != std::string_view::npos) {
    subPart = codePart.substr(slash + 1);
    codePart = codePart.substr(0, slash);
  }
  long index = 0;
  long code = 0;
  long sub = 0;
  if (!parseInt(view.substr(colon + 1, equals - colon - 1), 0, 7, index)) return false;
  if (!parseInt(codePart, 240, 255, code)) return false;
  if (!subPart.empty() && !parseInt(subPart, 0, 255, sub)) return false;
  status.name = text.substr(0, colon);
  status.index = static_cast<int>(index);
  status.code = static_cast<uint8_t>(code);
  status.subCode = static_cast<uint8_t>(sub);
  error.clear();
  return true;
}

}  // namespace zelmot::sim
