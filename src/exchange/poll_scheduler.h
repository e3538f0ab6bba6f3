#pragma once
// Periodic polling of the measurement parameters by one thread. Each polled parameter has
// a due time in a heap; the thread sleeps until the earliest one (or until the list
// changes, or the stop event), reads that parameter through the same transaction as every
// other exchange, and hands the result to an observer (the measurement archive) and then
// to a sink (the view's poll notification). Any number of parameters is served.
//
// A parameter's "timer armed" flag is its check box: a parameter whose box was cleared is
// never read again, even when it was already due. Polling counts no consecutive failures,
// writes no progress log and no error log: a silent device only shows in the rows.
//
// Threads: start/stop/setPeriod and the wiring may be called from any thread. The observer
// and the sink run on the scheduler's thread and must not touch widgets.
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "exchange/parameter_transport.h"
#include "platform/event.h"

namespace zelmot::model {
class Parameter;
}

namespace zelmot::exchange {

inline constexpr int32_t kMinPollPeriodMs = 1000;

// What the view learns after each poll.
struct PollNotice {
  model::Parameter* parameter = nullptr;
  bool archiveFailed = false;  // the observer could not store the reading
  // Not empty when the reading failed because the port hung up or failed: the port and
  // the system's reason. Nothing passes until the port is opened again.
  std::string lineLossReason;
};

class PollScheduler {
public:
  // Returns false when the reading could not be stored.
  using Observer = std::function<bool(model::Parameter&)>;
  using Sink = std::function<void(const PollNotice&)>;
  using Clock = std::chrono::steady_clock;

  // `stopEvent` (may be null) is the port's stop event: once set, the thread ends at once
  // and nothing more is polled, as when this object is destroyed.
  PollScheduler(ParameterTransport& transport, Event* stopEvent);
  ~PollScheduler();
  PollScheduler(const PollScheduler&) = delete;
  PollScheduler& operator=(const PollScheduler&) = delete;

  void setObserver(Observer observer);
  void setSink(Sink sink);

  // Ticks the box: the first read is due one period from now. 0 started; 1 nothing done
  // (it already runs, or the parameter is not one that can be polled).
  int start(model::Parameter& parameter);
  // Clears the box. 0 stopped; 1 it did not run.
  int stop(model::Parameter& parameter);
  // Stores a new period; a running parameter starts its period anew. False (nothing
  // changed) below kMinPollPeriodMs.
  bool setPeriod(model::Parameter& parameter, int32_t milliseconds);
  // Clears every box (the document goes or is replaced).
  void stopAll();
  // Ends the thread and waits for it: no observer or sink runs after this returns. Nothing
  // is polled afterwards.
  void shutdown();

  // Readings done so far, and the number of parameters that run.
  uint64_t pollCount() const;
  size_t runningCount() const;
  std::thread::id threadId() const { return thread_.get_id(); }

private:
  struct Due {
    Clock::time_point when;
    model::Parameter* parameter;
    uint64_t generation;  // stale once the parameter was stopped or restarted
    bool operator>(const Due& other) const { return when > other.when; }
  };

  void run();
  // The next parameter to read now, or null with `waitMs` set to the time to sleep.
  model::Parameter* takeDue(int& waitMs);
  void schedule(model::Parameter& parameter, Clock::time_point when);
  void poll(model::Parameter& parameter);

  ParameterTransport& transport_;
  Event* stopEvent_;
  Event shutdown_{Event::Reset::Manual};
  Event listChanged_{Event::Reset::Auto};

  mutable std::mutex mutex_;  // guards everything below
  std::vector<Due> heap_;     // min-heap on `when`
  std::unordered_map<model::Parameter*, uint64_t> generation_;  // of running parameters
  uint64_t nextGeneration_ = 1;
  uint64_t polls_ = 0;
  Observer observer_;
  Sink sink_;

  std::thread thread_;  // last: starts when everything above exists
};

}  // namespace zelmot::exchange
