#pragma once
// What kind of value a type descriptor names, as far as the device has to know it to check
// a written data field. Names are compared the way the device compares mnemonics: ASCII
// letters without regard to case.
#include <string>
#include <string_view>

namespace zelmot::sim {

enum class ValueKind { StoredDot, DecDot, ClkFrm, Clock, String, Name, Enumeration };

ValueKind valueKindOf(const std::string& typeDescriptor);

bool sameName(std::string_view a, std::string_view b);

}  // namespace zelmot::sim
