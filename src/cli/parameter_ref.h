#pragma once
// "NAME[:INDEX]" on the command line.
#include <cstdint>
#include <string>

namespace zelmot::cli {

struct ParameterRef {
  std::string name;
  bool hasIndex = false;
  int32_t index = -1;
};

// The index is the decimal number after the last ':'; a name without one has no index.
// False for an index that is not a number.
bool parseParameterRef(const std::string& text, ParameterRef& ref);

}  // namespace zelmot::cli
