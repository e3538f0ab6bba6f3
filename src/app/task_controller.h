#pragma once
// One device job at a time in the window: a bulk task behind the progress dialog or a
// single exchange on the link worker. While a job runs the window disables its task
// commands; a step asked for meanwhile (the job of an unattended run, a converter switch,
// an immediate write) waits and runs when the line is free, instead of spinning a nested
// event loop. Also turns a finished task's outcome into what the window shows.
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "exchange/task_kind.h"
#include "exchange/task_outcome.h"

namespace zelmot {
class UserPrompt;
}

namespace zelmot::app {

inline constexpr const char* kFailedSummaryCaption = "Задание выполнено с ошибками";

// What the window shows and changes after a bulk task.
struct TaskReport {
  std::optional<std::string> linkStatus;  // status bar text, when the task tells
  std::string compareSummary;             // compare only
  std::string failedSummary;              // the question after failed parameters, if any
  std::string portFailure;                // the port did not open: told once
  bool configurationLoaded = false;       // a read fills the configuration
  bool modified = false;                  // something was handled
};

TaskReport reportTask(exchange::TaskCode code, const exchange::TaskOutcome& outcome);
// Tells a port that did not open and the comparison's summary.
void tellTaskReport(const TaskReport& report, UserPrompt& prompt);
// Asks after failed parameters whether to go to the first one (never in an unattended
// run, where nobody answers). True: go.
bool askToShowFailed(const TaskReport& report, bool commandLineMode, UserPrompt& prompt);

class TaskController {
public:
  struct Hooks {
    // The busy state changed: enable or disable the task commands.
    std::function<void(bool busy)> busyChanged;
    // Asks for idleStep() to be called soon, after the current event has been handled
    // (the window posts it to its loop), so that a job's own completion runs first.
    std::function<void()> scheduleIdleStep;
  };

  explicit TaskController(Hooks hooks) : hooks_(std::move(hooks)) {}

  bool busy() const { return running_ > 0; }
  void jobStarted();
  void jobEnded();
  // Runs `step` now when no job runs, else once the running jobs have ended.
  void whenIdle(std::function<void()> step);
  // Runs the waiting steps in order while no job runs (a step may start a new job).
  void idleStep();
  size_t waitingSteps() const { return waiting_.size(); }

  // The last bulk task's outcome.
  const exchange::TaskOutcome& lastOutcome() const { return lastOutcome_; }
  void setLastOutcome(const exchange::TaskOutcome& outcome) { lastOutcome_ = outcome; }

private:
  Hooks hooks_;
  int running_ = 0;
  std::deque<std::function<void()>> waiting_;
  exchange::TaskOutcome lastOutcome_;
};

}  // namespace zelmot::app
