#pragma once
// The one place that knows how long things take on the line: the time of one character
// and every time-out derived from it.
#include <cstdint>

namespace zelmot::link {

struct LineTimeouts {
  float charTime = 0;            // ms per character on the line
  uint32_t readInterval = 0;     // ms
  uint32_t readPerChar = 0;      // ms
  uint32_t readConstant = 0;     // ms
  uint32_t writePerChar = 0;     // ms
  uint32_t writeConstant = 0;    // ms
  uint16_t replyWait = 0;        // ms to wait for the end of a reply
};

// A character always counts start bit, eight data bits and a stop bit, whatever the data
// bits; a parity bit is counted whenever parity checking is on (even when no parity bit is
// sent), and a second stop bit when there is one. baud must be positive.
LineTimeouts computeLineTimeouts(int baud, bool parityChecked, bool twoStopBits);

}  // namespace zelmot::link
