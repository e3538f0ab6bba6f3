#pragma once
// SIGTERM, SIGINT and SIGHUP as a call on a watcher thread, so that the program can close
// the way its window does (exchange cancelled, nothing half-written) instead of dying
// mid-exchange. Construct it before any other thread starts: the signals are blocked in
// the constructing thread and every thread started after it, and read through a signalfd.
#include <functional>
#include <thread>

#include "platform/event.h"

namespace zelmot::app {

class TerminationWatch {
public:
  TerminationWatch();
  ~TerminationWatch();
  TerminationWatch(const TerminationWatch&) = delete;
  TerminationWatch& operator=(const TerminationWatch&) = delete;

  // Starts watching; `onSignal` runs on the watcher thread for every signal that arrives.
  void start(std::function<void()> onSignal);
  // Stops watching (and waits for the watcher); later signals are left pending.
  void stop();

private:
  void watch();

  std::function<void()> onSignal_;
  Event stop_{Event::Reset::Manual};
  int signalFd_ = -1;
  std::thread watcher_;
};

}  // namespace zelmot::app
