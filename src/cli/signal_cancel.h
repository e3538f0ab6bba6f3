#pragma once
// Turns SIGINT, SIGTERM and SIGHUP into a call of a cancel function on a watcher thread, so
// that a running task stops at its next cancel point instead of the process dying
// mid-exchange. Construct it before starting other threads (see app::TerminationWatch).
#include <atomic>
#include <functional>

#include "app/termination_watch.h"

namespace zelmot::cli {

class SignalCancel {
public:
  explicit SignalCancel(std::function<void()> onSignal);
  SignalCancel(const SignalCancel&) = delete;
  SignalCancel& operator=(const SignalCancel&) = delete;

  bool signalled() const { return signalled_.load(); }

private:
  std::atomic<bool> signalled_{false};
  app::TerminationWatch watch_;  // last: stopped before the flag goes away
};

}  // namespace zelmot::cli
