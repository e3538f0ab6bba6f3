#pragma once
// The exchange thread: waits for a task event, runs the task over its target branch (or
// the group list), and finishes it with the forced re-read of recomputed parameters.
// Callers hand a task over only through start...() and learn its end through wait().
#include <mutex>
#include <thread>
#include <vector>

#include "exchange/exchange_engine.h"
#include "exchange/task_kind.h"
#include "exchange/task_outcome.h"
#include "platform/event.h"

namespace zelmot::model {
class DescBranch;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::exchange {

class ExchangeThread {
public:
  // `stopEvent` (may be null) is the port's stop event: when it is signalled the thread
  // ends, as it does when this object is destroyed.
  ExchangeThread(ExchangeEngine& engine, ParameterTransport& transport, Event* stopEvent);
  ~ExchangeThread();
  ExchangeThread(const ExchangeThread&) = delete;
  ExchangeThread& operator=(const ExchangeThread&) = delete;

  // Starts read, write all, write changed or compare on `target`. False (nothing started)
  // when another task still runs, the target is null, the code is a group code or the
  // thread has already ended (stop event or shutdown).
  bool start(TaskCode code, model::DescBranch* target);
  // Starts writing the listed parameters in order (all-mode on); false when busy.
  bool startGroupWrite(std::vector<model::Parameter*> group);
  // Blocks until the running task (and its chained re-read) has finished; returns at once
  // with the last outcome when nothing runs.
  TaskOutcome wait();
  bool busy() const;

private:
  enum class GroupMode { None, Read, Write };

  void run();
  model::ExchangeCounts runTask(int which, model::DescBranch* target);
  model::ExchangeCounts runGroup(GroupMode mode, const std::vector<model::Parameter*>& group);
  model::ExchangeCounts forcedReRead(model::DescBranch* target);
  void dropTask(int which);
  void finish(const model::ExchangeCounts& counts, const std::string& portFailure);
  bool beginTask(TaskCode code, int total);

  ExchangeEngine& engine_;
  ParameterTransport& transport_;
  Event* stopEvent_;
  Event shutdown_{Event::Reset::Manual};
  Event readEvent_{Event::Reset::Manual};
  Event writeEvent_{Event::Reset::Manual};
  Event writeChangedEvent_{Event::Reset::Manual};
  Event compareEvent_{Event::Reset::Manual};
  Event groupEvent_{Event::Reset::Manual};
  Event finished_{Event::Reset::Manual, true};

  mutable std::mutex mutex_;  // guards the fields below
  bool busy_ = false;
  bool ended_ = false;  // the thread has left its loop: no task can run any more
  model::DescBranch* target_ = nullptr;
  std::vector<model::Parameter*> group_;
  GroupMode groupMode_ = GroupMode::None;
  TaskOutcome outcome_;

  std::thread thread_;  // last: starts when everything above exists
};

}  // namespace zelmot::exchange
