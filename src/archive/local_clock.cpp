#include "archive/local_clock.h"

namespace zelmot::archive {

std::tm SystemLocalClock::now() const {
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace zelmot::archive
