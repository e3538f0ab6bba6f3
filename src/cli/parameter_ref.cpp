#include "cli/parameter_ref.h"

#include <charconv>

namespace zelmot::cli {

bool parseParameterRef(const std::string& text, ParameterRef& ref) {
  ref = {};
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos) {
    ref.name = text;
    return !text.empty();
  }
  ref.name = text.substr(0, colon);
  const char* first = text.data() + colon + 1;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, ref.index);
  ref.hasIndex = true;
  return !ref.name.empty() && error == std::errc() && end == last && first != last &&
         ref.index >= 0;
}

}  // namespace zelmot::cli
