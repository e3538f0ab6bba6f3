#pragma once
// Turns SIGINT and SIGTERM into a call of a cancel function on a watcher thread, so that a
// running task stops at its next cancel point instead of the process dying mid-exchange.
// The signals are blocked in every thread (construct this before starting other threads)
// and read through a signalfd; nothing runs in signal-handler context.
#include <atomic>
#include <functional>
#include <thread>

#include "platform/event.h"

namespace zelmot::cli {

class SignalCancel {
public:
  explicit SignalCancel(std::function<void()> onSignal);
  ~SignalCancel();
  SignalCancel(const SignalCancel&) = delete;
  SignalCancel& operator=(const SignalCancel&) = delete;

  bool signalled() const { return signalled_.load(); }

private:
  void watch();

  std::function<void()> onSignal_;
  Event stop_{Event::Reset::Manual};
  std::atomic<bool> signalled_{false};
  int signalFd_ = -1;
  std::thread watcher_;
};

}  // namespace zelmot::cli
