#pragma once
// The device classifies type descriptors as the core does; it compares mnemonics the same
// way too: ASCII letters without regard to case.
#include <string_view>

#include "model/value_kind.h"

namespace zelmot::sim {

using model::ValueKind;
using model::valueKindOf;

// "string" and "ASCI" both name plain text the device only sends.
inline bool isTextKind(ValueKind kind) {
  return kind == ValueKind::String || kind == ValueKind::Ascii;
}

bool sameName(std::string_view a, std::string_view b);

}  // namespace zelmot::sim
