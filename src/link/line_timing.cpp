#include "link/line_timing.h"

#include <cmath>

namespace zelmot::link {

LineTimeouts computeLineTimeouts(int baud, bool parityChecked, bool twoStopBits) {
  const int bitsTimesThousand = 10000 + (parityChecked ? 1000 : 0) + (twoStopBits ? 1000 : 0);
  const double charMs = static_cast<double>(bitsTimesThousand) / baud;

  LineTimeouts t;
  t.charTime = static_cast<float>(charMs);
  t.readInterval = static_cast<uint32_t>(std::ceil(1.5 * charMs));
  t.readPerChar = static_cast<uint32_t>(std::ceil(t.readInterval + charMs));
  t.readConstant = 50;
  t.writePerChar = 10;
  t.writeConstant = 10;
  // Long enough for the longest reply (28 characters) at the slack per-character rate.
  t.replyWait = static_cast<uint16_t>((t.readPerChar * 28 + 50) % 65536);
  return t;
}

}  // namespace zelmot::link
