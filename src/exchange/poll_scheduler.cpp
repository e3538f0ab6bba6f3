#include "exchange/poll_scheduler.h"

#include <algorithm>
#include <climits>

#include "model/parameter.h"

namespace zelmot::exchange {
namespace {

using Milliseconds = std::chrono::milliseconds;

PollScheduler::Clock::duration periodOf(const model::Parameter& parameter) {
  return Milliseconds(std::max(parameter.pollPeriod(), kMinPollPeriodMs));
}

}  // namespace

PollScheduler::PollScheduler(ParameterTransport& transport, Event* stopEvent)
    : transport_(transport), stopEvent_(stopEvent), thread_([this] { run(); }) {}

PollScheduler::~PollScheduler() { shutdown(); }

void PollScheduler::shutdown() {
  shutdown_.set();
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void PollScheduler::setObserver(Observer observer) {
  std::lock_guard lock(mutex_);
  observer_ = std::move(observer);
}

void PollScheduler::setSink(Sink sink) {
  std::lock_guard lock(mutex_);
  sink_ = std::move(sink);
}

int PollScheduler::start(model::Parameter& parameter) {
  {
    std::lock_guard lock(mutex_);
    if (!parameter.StartPolling()) return 1;
    schedule(parameter, Clock::now() + periodOf(parameter));
  }
  listChanged_.set();
  return 0;
}

int PollScheduler::stop(model::Parameter& parameter) {
  std::lock_guard lock(mutex_);
  if (!parameter.timerArmed()) return 1;
  parameter.StopPolling();
  generation_.erase(&parameter);  // its heap entries are stale from now on
  return 0;
}

bool PollScheduler::setPeriod(model::Parameter& parameter, int32_t milliseconds) {
  if (milliseconds < kMinPollPeriodMs) return false;
  {
    std::lock_guard lock(mutex_);
    parameter.setPollPeriod(milliseconds);
    if (!parameter.timerArmed()) return true;
    schedule(parameter, Clock::now() + periodOf(parameter));
  }
  listChanged_.set();
  return true;
}

void PollScheduler::stopAll() {
  std::lock_guard lock(mutex_);
  for (const auto& [parameter, generation] : generation_) parameter->StopPolling();
  generation_.clear();
  heap_.clear();
}

uint64_t PollScheduler::pollCount() const {
  std::lock_guard lock(mutex_);
  return polls_;
}

size_t PollScheduler::runningCount() const {
  std::lock_guard lock(mutex_);
  return generation_.size();
}

// Under mutex_: a new generation makes every earlier entry of the parameter stale.
void PollScheduler::schedule(model::Parameter& parameter, Clock::time_point when) {
  const uint64_t generation = nextGeneration_++;
  generation_[&parameter] = generation;
  heap_.push_back({when, &parameter, generation});
  std::push_heap(heap_.begin(), heap_.end(), std::greater<>());
}

model::Parameter* PollScheduler::takeDue(int& waitMs) {
  std::lock_guard lock(mutex_);
  const Clock::time_point now = Clock::now();
  while (!heap_.empty()) {
    const Due top = heap_.front();
    const auto running = generation_.find(top.parameter);
    const bool stale = running == generation_.end() || running->second != top.generation ||
                       !top.parameter->timerArmed();
    if (!stale && top.when > now) {
      // Rounded up, so that the thread wakes when the entry is due, not just before.
      const auto left = std::chrono::ceil<Milliseconds>(top.when - now).count();
      waitMs = static_cast<int>(std::min<decltype(left)>(left, INT_MAX));
      return nullptr;
    }
    std::pop_heap(heap_.begin(), heap_.end(), std::greater<>());
    heap_.pop_back();
    if (stale) continue;
    // Fixed rate: the next reading keeps the rhythm; periods the line had no room for are
    // skipped rather than read in a burst.
    const Clock::duration period = periodOf(*top.parameter);
    Clock::time_point next = top.when + period;
    if (next <= now) next += period * ((now - next) / period + 1);
    heap_.push_back({next, top.parameter, top.generation});
    std::push_heap(heap_.begin(), heap_.end(), std::greater<>());
    return top.parameter;
  }
  waitMs = Event::kInfinite;
  return nullptr;
}

void PollScheduler::run() {
  for (;;) {
    int waitMs = Event::kInfinite;
    model::Parameter* due = takeDue(waitMs);
    if (due == nullptr) {
      if (waitAny({stopEvent_, &shutdown_, &listChanged_}, waitMs) == 0 ||
          shutdown_.isSet()) {
        return;
      }
      if (stopEvent_ != nullptr && stopEvent_->isSet()) return;
      continue;
    }
    if (shutdown_.isSet() || (stopEvent_ != nullptr && stopEvent_->isSet())) return;
    poll(*due);
  }
}

void PollScheduler::poll(model::Parameter& parameter) {
  const int result = transport_.exchangeParameter(true, parameter);
  Observer observer;
  Sink sink;
  {
    std::lock_guard lock(mutex_);
    ++polls_;
    observer = observer_;
    sink = sink_;
  }
  PollNotice notice;
  notice.parameter = &parameter;
  notice.archiveFailed = observer && !observer(parameter);
  if (result != 0) notice.lineLossReason = transport_.lineLossReason();
  if (sink) sink(notice);
}

}  // namespace zelmot::exchange
