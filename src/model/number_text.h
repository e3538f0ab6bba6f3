#pragma once
// Fast number texts, byte for byte what the printf formats named beside them produce. The
// protocol export decodes millions of values, and printf is most of its cost.
#include <cstdint>
#include <string>

namespace zelmot::model {

// printf "%*.3f": "%.3f" with width 0, "%5.3f" with width 5. Falls back to printf for
// infinities, NaNs and a C library decimal point other than '.'.
std::string fixedThreeText(double value, int width = 0);

// printf "%u".
std::string unsignedText(uint32_t value);

}  // namespace zelmot::model
