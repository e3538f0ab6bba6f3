#pragma once
// Which encoding a type descriptor names.
#include <string>

namespace zelmot::model {

enum class ValueKind {
  StoredDot,      // STORED_DOT
  DecDot,         // DEC_dot
  ClockDuration,  // CLK_frm
  RealTimeClock,  // Real_Time_Clock
  String,         // string
  Ascii,          // ASCI
  NetworkName,    // name
  Enumeration,    // anything else: the descriptor lists the items
};

// The first ":"-item is compared with the keywords without regard to case; "string" and
// "ASCI" must be the whole descriptor.
ValueKind valueKindOf(const std::string& descriptor);

}  // namespace zelmot::model
