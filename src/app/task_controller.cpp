#include "app/task_controller.h"

#include "app/frame_texts.h"
#include "exchange/compare_texts.h"
#include "link/device_protocol.h"
#include "platform/user_prompt.h"

namespace zelmot::app {

TaskReport reportTask(exchange::TaskCode code, const exchange::TaskOutcome& outcome) {
  TaskReport report;
  if (code == exchange::TaskCode::Compare) {
    report.compareSummary = exchange::compareSummary(outcome.differenceCount, outcome.differenceText);
  } else if (outcome.errors > 0) {
    // The progress dialog closes by itself; without this the failures would pass unseen.
    report.failedSummary = "Параметров с ошибками: " + std::to_string(outcome.errors) +
                           ".\nПерейти к первому проблемному параметру?";
  }
  report.portFailure = outcome.portFailureText;
  if (outcome.noLink()) {
    report.linkStatus = kNoLinkText;
  } else if (outcome.successes > 0) {
    report.linkStatus = kLinkAnswersText;
  }
  report.configurationLoaded = code == exchange::TaskCode::Read;
  report.modified = outcome.counts.handled > 0;
  return report;
}

void tellTaskReport(const TaskReport& report, UserPrompt& prompt) {
  if (!report.portFailure.empty()) {
    prompt.tell(report.portFailure, link::kOpenFailedCaption, PromptIcon::Stop);
  }
  if (!report.compareSummary.empty()) {
    prompt.tell(report.compareSummary, exchange::kCompareCaption, PromptIcon::Information);
  }
}

bool askToShowFailed(const TaskReport& report, bool commandLineMode, UserPrompt& prompt) {
  return !report.failedSummary.empty() && !commandLineMode &&
         prompt.ask(report.failedSummary, kFailedSummaryCaption, PromptIcon::Exclamation,
                    PromptButtons::YesNo) == PromptAnswer::Yes;
}

void TaskController::jobStarted() {
  if (running_++ == 0 && hooks_.busyChanged) hooks_.busyChanged(true);
}

void TaskController::jobEnded() {
  if (running_ == 0) return;
  if (--running_ > 0) return;
  if (hooks_.busyChanged) hooks_.busyChanged(false);
  if (waiting_.empty()) return;
  if (hooks_.scheduleIdleStep) {
    hooks_.scheduleIdleStep();
  } else {
    idleStep();
  }
}

void TaskController::whenIdle(std::function<void()> step) {
  if (!step) return;
  if (!busy() && waiting_.empty()) {
    step();
    return;
  }
  waiting_.push_back(std::move(step));
}

void TaskController::idleStep() {
  while (!busy() && !waiting_.empty()) {
    std::function<void()> step = std::move(waiting_.front());
    waiting_.pop_front();
    step();
  }
}

}  // namespace zelmot::app
