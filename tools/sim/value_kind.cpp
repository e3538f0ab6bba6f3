#include "value_kind.h"

#include "model/text_util.h"

namespace zelmot::sim {

// The device compares mnemonics as the program does: ASCII letters without regard to case.
bool sameName(std::string_view a, std::string_view b) { return model::equalsIgnoreCase(a, b); }

}  // namespace zelmot::sim
