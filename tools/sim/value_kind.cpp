#include "value_kind.h"

#include "model/text_util.h"

namespace zelmot::sim {

// The device compares mnemonics as the program does: ASCII letters without regard to case.
bool sameName(std::string_view a, std::string_view b) { return model::equalsIgnoreCase(a, b); }

ValueKind valueKindOf(const std::string& typeDescriptor) {
  if (sameName(typeDescriptor, "string") || sameName(typeDescriptor, "ASCI")) {
    return ValueKind::String;
  }
  const std::string_view first = std::string_view(typeDescriptor).substr(0, typeDescriptor.find(':'));
  if (sameName(first, "STORED_DOT")) return ValueKind::StoredDot;
  if (sameName(first, "DEC_dot")) return ValueKind::DecDot;
  if (sameName(first, "CLK_frm")) return ValueKind::ClkFrm;
  if (sameName(first, "Real_Time_Clock")) return ValueKind::Clock;
  if (sameName(first, "name")) return ValueKind::Name;
  return ValueKind::Enumeration;
}

}  // namespace zelmot::sim
