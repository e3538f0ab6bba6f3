#pragma once
// Every frame sent to and received from the device, for a trace the user can read
// (the CLI's --trace, the single-parameter poll) and for tests that count attempts.
#include <functional>
#include <string>

#include "link/link_results.h"

namespace zelmot::link {

struct TraceEvent {
  enum class Kind {
    Sent,      // text = the line frame written
    Received,  // text = the characters handed over; exchangeResult = port_exchange result
    Note,      // text = a remark (line settings in use when the device does not answer, ...)
  };
  Kind kind = Kind::Note;
  std::string text;
  ExchangeResult exchangeResult = ExchangeResult::Done;
};

// Called with the request lock held: it must not start another exchange.
using FrameTrace = std::function<void(const TraceEvent&)>;

// One printable line: "-> #HGHG...\r", "<- [2] " and the like; control characters shown
// as escapes.
std::string formatTraceEvent(const TraceEvent& event);

}  // namespace zelmot::link
