#include "model/value_kind.h"

#include "platform/ascii_text.h"

namespace zelmot::model {

ValueKind valueKindOf(const std::string& descriptor) {
  const std::string_view first = std::string_view(descriptor).substr(0, descriptor.find(':'));
  if (equalsIgnoreCase(first, "STORED_DOT")) return ValueKind::StoredDot;
  if (equalsIgnoreCase(first, "DEC_dot")) return ValueKind::DecDot;
  if (equalsIgnoreCase(first, "CLK_frm")) return ValueKind::ClockDuration;
  if (equalsIgnoreCase(first, "Real_Time_Clock")) return ValueKind::RealTimeClock;
  if (equalsIgnoreCase(first, "name")) return ValueKind::NetworkName;
  if (equalsIgnoreCase(descriptor, "string")) return ValueKind::String;
  if (equalsIgnoreCase(descriptor, "ASCI")) return ValueKind::Ascii;
  return ValueKind::Enumeration;
}

}  // namespace zelmot::model
