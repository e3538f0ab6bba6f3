#include "link/frame_trace.h"

#include <cstdio>

namespace zelmot::link {
namespace {

std::string printable(const std::string& chars) {
  std::string out;
  for (const char c : chars) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (b < 0x20 || b >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string formatTraceEvent(const TraceEvent& event) {
  switch (event.kind) {
    case TraceEvent::Kind::Sent:
      return "-> " + printable(event.text);
    case TraceEvent::Kind::Received:
      return "<- [" + std::to_string(resultCode(event.exchangeResult)) + "] " + printable(event.text);
    case TraceEvent::Kind::Note:
      break;
  }
  return "-- " + event.text;
}

}  // namespace zelmot::link
