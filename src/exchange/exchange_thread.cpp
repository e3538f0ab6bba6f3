#include "exchange/exchange_thread.h"

#include "exchange/exchange_texts.h"
#include "exchange/reread_list.h"
#include "exchange/tree_walk.h"
#include "model/desc_branch.h"
#include "model/parameter.h"

namespace zelmot::exchange {
namespace {

enum EventIndex { kRead, kWrite, kWriteChanged, kCompare, kGroup, kShutdown, kStop };

}  // namespace

ExchangeThread::ExchangeThread(ExchangeEngine& engine, ParameterTransport& transport,
                               Event* stopEvent)
    : engine_(engine), transport_(transport), stopEvent_(stopEvent),
      thread_([this] { run(); }) {}

ExchangeThread::~ExchangeThread() {
  shutdown_.set();
  engine_.cancelEvent().set();
  if (thread_.joinable()) thread_.join();
}

bool ExchangeThread::busy() const {
  std::lock_guard lock(mutex_);
  return busy_;
}

bool ExchangeThread::beginTask(TaskCode code, int total) {
  {
    std::lock_guard lock(mutex_);
    if (busy_ || ended_) return false;
    busy_ = true;
    outcome_ = {};
    // Under the lock: a thread ending right now sets it again after this, never before.
    finished_.reset();
  }
  engine_.cancelEvent().reset();
  engine_.beginTask(total);
  if (code == TaskCode::Compare) engine_.resetDifferences();
  if (ProgressSink* sink = engine_.progressSink()) sink->taskStarted(code, taskTitle(code), total);
  return true;
}

bool ExchangeThread::start(TaskCode code, model::DescBranch* target) {
  if (target == nullptr) return false;
  Event* event = nullptr;
  int total = target->countParameters();
  switch (code) {
    case TaskCode::Read: event = &readEvent_; break;
    case TaskCode::WriteAll: event = &writeEvent_; break;
    case TaskCode::WriteChanged:
      event = &writeChangedEvent_;
      total = countChangedParameters(*target);
      break;
    case TaskCode::Compare: event = &compareEvent_; break;
    default: return false;
  }
  if (!beginTask(code, total)) return false;
  {
    std::lock_guard lock(mutex_);
    target_ = target;
  }
  event->set();
  return true;
}

bool ExchangeThread::startGroupWrite(std::vector<model::Parameter*> group) {
  if (!beginTask(TaskCode::GroupWrite, static_cast<int>(group.size()))) return false;
  {
    std::lock_guard lock(mutex_);
    group_ = std::move(group);
    groupMode_ = GroupMode::Write;
    target_ = nullptr;
  }
  groupEvent_.set();
  return true;
}

TaskOutcome ExchangeThread::wait() {
  finished_.wait(Event::kInfinite);
  std::lock_guard lock(mutex_);
  return outcome_;
}

void ExchangeThread::run() {
  for (;;) {
    const int which = waitAny({&readEvent_, &writeEvent_, &writeChangedEvent_, &compareEvent_,
                               &groupEvent_, &shutdown_, stopEvent_},
                              Event::kInfinite);
    if (which == kShutdown || which == kStop || which < 0) break;
    model::DescBranch* target = nullptr;
    {
      std::lock_guard lock(mutex_);
      target = target_;
      target_ = nullptr;
    }
    std::string portFailure;
    model::ExchangeCounts counts;
    if (transport_.beginTask(portFailure)) {
      counts = runTask(which, target);
      // The re-read's own failures reach the outcome through the engine's error count.
      if (target != nullptr) forcedReRead(target);
      transport_.endTask();
    } else {
      // Said once, instead of a failure on every parameter.
      dropTask(which);
      engine_.logLine(portFailure);
    }
    finish(counts, portFailure);
  }
  // A caller may still be waiting for a task that never ran; later starts are refused, or
  // their wait() would never return.
  {
    std::lock_guard lock(mutex_);
    ended_ = true;
    busy_ = false;
    finished_.set();
  }
}

model::ExchangeCounts ExchangeThread::runTask(int which, model::DescBranch* target) {
  switch (which) {
    case kRead:
      readEvent_.reset();
      return target ? target->ReadAll(engine_) : model::ExchangeCounts{};
    case kWrite:
      writeEvent_.reset();
      return target ? target->WriteAll(engine_, false) : model::ExchangeCounts{};
    case kWriteChanged:
      writeChangedEvent_.reset();
      return target ? target->WriteAll(engine_, true) : model::ExchangeCounts{};
    case kCompare:
      compareEvent_.reset();
      return target ? target->CompareAll(engine_) : model::ExchangeCounts{};
    case kGroup: {
      groupEvent_.reset();
      GroupMode mode;
      std::vector<model::Parameter*> group;
      {
        std::lock_guard lock(mutex_);
        mode = groupMode_;
        groupMode_ = GroupMode::None;
        group.swap(group_);
      }
      return runGroup(mode, group);
    }
  }
  return {};
}

model::ExchangeCounts ExchangeThread::runGroup(GroupMode mode,
                                               const std::vector<model::Parameter*>& group) {
  model::ExchangeCounts counts;
  for (model::Parameter* parameter : group) {
    if (engine_.cancelled()) break;
    const int result = mode == GroupMode::Read ? engine_.readOne(*parameter)
                                               : engine_.writeOne(*parameter, true);
    ++counts.handled;
    if (result != 0) ++counts.failures;
  }
  return counts;
}

// Parameters the device recomputed after some of this task's writes are read back, in
// tree order, before the task counts as finished.
model::ExchangeCounts ExchangeThread::forcedReRead(model::DescBranch* target) {
  const std::string list = engine_.takeReReadList();
  if (list.empty()) return {};
  std::vector<model::Parameter*> group;
  forEachParameter(*target, [&](model::Parameter& parameter) {
    if (reReadListNames(list, parameter.name(), parameter.linearIndex())) {
      group.push_back(&parameter);
    }
  });
  if (group.empty()) return {};
  engine_.setProgressDone(0);
  engine_.setProgressTotal(static_cast<int>(group.size()));
  engine_.logLine(kForcedReReadText);
  return runGroup(GroupMode::Read, group);
}

// A task that cannot run is taken off its event all the same.
void ExchangeThread::dropTask(int which) {
  Event* const events[] = {&readEvent_, &writeEvent_, &writeChangedEvent_, &compareEvent_,
                           &groupEvent_};
  if (which >= kRead && which <= kGroup) events[which]->reset();
  std::lock_guard lock(mutex_);
  groupMode_ = GroupMode::None;
  group_.clear();
}

void ExchangeThread::finish(const model::ExchangeCounts& counts, const std::string& portFailure) {
  engine_.logLine("");
  engine_.logLine(kTaskDoneText);
  if (ProgressSink* sink = engine_.progressSink()) sink->taskFinished();
  TaskOutcome outcome;
  outcome.started = true;
  outcome.counts = counts;
  outcome.successes = engine_.successesThisTask();
  outcome.timeouts = engine_.timeoutsThisTask();
  outcome.errors = engine_.errorsThisTask();
  outcome.cancelled = engine_.cancelled();
  outcome.suspended = engine_.suspendedThisTask();
  outcome.lineLost = engine_.lineLostThisTask();
  outcome.differenceCount = engine_.differenceCount();
  outcome.differenceText = engine_.differenceText();
  outcome.portFailureText = portFailure;
  engine_.cancelEvent().reset();
  {
    std::lock_guard lock(mutex_);
    outcome_ = outcome;
    busy_ = false;
    // Under the lock, so that a task started right after this one cannot have its own
    // wait() ended by this finish.
    finished_.set();
  }
}

}  // namespace zelmot::exchange
