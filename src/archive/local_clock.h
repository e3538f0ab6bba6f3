#pragma once
// Where the archive takes the local date and time from. The program uses the system's
// clock; tests give their own, so that they can move the date past midnight.
#include <ctime>

namespace zelmot::archive {

class LocalClock {
public:
  virtual ~LocalClock() = default;
  // The local date and time now (daylight saving as the system decides).
  virtual std::tm now() const = 0;
};

class SystemLocalClock final : public LocalClock {
public:
  std::tm now() const override;
};

}  // namespace zelmot::archive
