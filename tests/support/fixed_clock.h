#pragma once
// A local clock that a test sets and moves (past midnight, into another month).
#include <ctime>

#include "archive/local_clock.h"

namespace zelmot::test_support {

class FixedClock final : public archive::LocalClock {
public:
  FixedClock(int day, int month, int year, int hour = 12, int minute = 0) {
    set(day, month, year, hour, minute);
  }
  void set(int day, int month, int year, int hour = 12, int minute = 0) {
    std::tm time{};
    time.tm_mday = day;
    time.tm_mon = month - 1;
    time.tm_year = year - 1900;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_isdst = -1;
    std::mktime(&time);  // fills the day of the week and of the year
    now_ = time;
  }
  std::tm now() const override { return now_; }

private:
  std::tm now_{};
};

}  // namespace zelmot::test_support
