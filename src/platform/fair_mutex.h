#pragma once
// A mutex that hands itself over in the order of arrival. The line is shared by the
// exchange thread, the poll scheduler and short exchanges of the window; with a plain
// mutex a thread that unlocks and locks again at once can keep the line for itself, so
// the other threads wait for it without bound.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace zelmot {

class FairMutex {
public:
  void lock() {
    std::unique_lock guard(mutex_);
    const uint64_t ticket = nextTicket_++;
    turnChanged_.wait(guard, [&] { return serving_ == ticket; });
  }
  void unlock() {
    {
      std::lock_guard guard(mutex_);
      ++serving_;
    }
    turnChanged_.notify_all();
  }

private:
  std::mutex mutex_;
  std::condition_variable turnChanged_;
  uint64_t nextTicket_ = 0;
  uint64_t serving_ = 0;
};

}  // namespace zelmot
