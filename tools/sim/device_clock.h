#pragma once
// The device's real-time clock: the host's local time plus an offset that a write of the
// clock parameter sets. On the wire the fields go highest first (year, month counted from
// 0, day counted from 0, hours, minutes, seconds, fraction), followed by a descriptor byte
// whose low nibble is the lowest field present and whose high nibble the number of fields.
#include <chrono>
#include <cstdint>
#include <vector>

#include "device_errors.h"

namespace zelmot::sim {

class DeviceClock {
public:
  using Clock = std::chrono::system_clock;

  // Seconds down to year: six fields and the descriptor 0x61, seven bytes in all.
  std::vector<uint8_t> read(Clock::time_point now) const;
  DeviceError write(const uint8_t* data, size_t length, Clock::time_point now);

  int64_t offsetSeconds() const { return offsetSeconds_; }
  void setOffsetSeconds(int64_t seconds) { offsetSeconds_ = seconds; }

private:
  int64_t offsetSeconds_ = 0;
};

}  // namespace zelmot::sim
