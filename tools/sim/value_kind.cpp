#include "value_kind.h"

#include "platform/ascii_text.h"

namespace zelmot::sim {

// The device compares mnemonics as the program does: ASCII letters without regard to case.
bool sameName(std::string_view a, std::string_view b) { return equalsIgnoreCase(a, b); }

}  // namespace zelmot::sim
