#include "platform/event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace zelmot {
namespace {

using Clock = std::chrono::steady_clock;

// Turns a relative time-out into a deadline and back, so that a wait woken early (by an
// event another waiter took, or by a signal) only waits for the time that is left.
class Deadline {
public:
  explicit Deadline(int timeoutMs)
      : infinite_(timeoutMs < 0), end_(Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs)) {}

  // Milliseconds for poll(): -1 forever, 0 once the deadline has passed (rounded up so
  // that a sub-millisecond remainder is still waited for).
  int remainingMs() const {
    if (infinite_) return -1;
    const auto left = end_ - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(ms);
  }

private:
  bool infinite_;
  Clock::time_point end_;
};

// Blocks until one of the descriptors is readable or the time runs out. False only when
// poll() itself fails (not for a signal), so that the caller never spins on a broken poll.
bool pollReadable(std::vector<pollfd>& fds, int timeoutMs) {
  const int rc = ::poll(fds.data(), fds.size(), timeoutMs);
  return rc >= 0 || errno == EINTR;
}

}  // namespace

Event::Event(Reset reset, bool initiallySet) : reset_(reset) {
  fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd_ < 0) {
    std::perror("zelmot: eventfd");
    std::abort();
  }
  if (initiallySet) set();
}

Event::~Event() { ::close(fd_); }

void Event::set() {
  std::lock_guard lock(mutex_);
  if (set_) return;
  set_ = true;
  const std::uint64_t one = 1;
  // Cannot fail short of a counter overflow, which one pending write never reaches.
  [[maybe_unused]] const auto written = ::write(fd_, &one, sizeof one);
}

void Event::reset() {
  std::lock_guard lock(mutex_);
  drainLocked();
}

bool Event::isSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

int Event::fd() const { return fd_; }

void Event::drainLocked() {
  if (!set_) return;
  set_ = false;
  std::uint64_t value = 0;
  [[maybe_unused]] const auto got = ::read(fd_, &value, sizeof value);
}

bool Event::tryConsume() {
  std::lock_guard lock(mutex_);
  if (!set_) return false;
  if (reset_ == Reset::Auto) drainLocked();
  return true;
}

bool Event::wait(int timeoutMs) {
  return waitAny({this}, timeoutMs) == 0;
}

int waitAny(std::initializer_list<Event*> events, int timeoutMs) {
  const Deadline deadline(timeoutMs);
  std::vector<pollfd> fds;
  fds.reserve(events.size());
  for (Event* e : events) fds.push_back(pollfd{e ? e->fd_ : -1, POLLIN, 0});  // poll skips fd -1

  for (;;) {
    // The descriptor only says "maybe": another waiter may have taken an auto-reset event
    // between poll() and here, so the state under the lock decides.
    int index = 0;
    for (Event* e : events) {
      if (e && e->tryConsume()) return index;
      ++index;
    }
    const int left = deadline.remainingMs();
    if (left == 0 || !pollReadable(fds, left)) return -1;
  }
}

}  // namespace zelmot
