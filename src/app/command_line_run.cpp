#include "app/command_line_run.h"

namespace zelmot::app {
namespace {

constexpr int kJobWatcherGraceMs = 5000;

}  // namespace

CommandLineRun::CommandLineRun(CommandLine line, Event& shutdown, Event* cancel, Hooks hooks)
    : line_(std::move(line)), shutdown_(shutdown), cancel_(cancel), hooks_(std::move(hooks)) {}

CommandLineRun::~CommandLineRun() {
  shutdown_.set();
  if (exitWatcher_.joinable()) exitWatcher_.join();
  if (jobWatcher_.joinable()) jobWatcher_.join();
}

bool CommandLineRun::start(std::string& error) {
  jobDone_.reset();
  if (line_.exitEvent && !exitEvent_.open(*line_.exitEvent, error)) return false;
  const CommandLineJob job = line_.job();
  if (job != CommandLineJob::None && hooks_.postJob) hooks_.postJob(job);
  jobWatcher_ = std::thread([this] { watchJob(); });
  exitWatcher_ = std::thread([this] { watchExit(); });
  return true;
}

document::FileResult CommandLineRun::taskFinished(document::CZELMOTDoc& doc) {
  document::FileResult saved{true, {}};
  if (line_.commandLineMode && line_.readRequested && !line_.documentPath.empty()) {
    saved = doc.save(line_.documentPath);
  }
  if (line_.commandLineMode) jobDone_.set();
  return saved;
}

void CommandLineRun::watchJob() {
  const int which = waitAny({&shutdown_, &jobDone_}, Event::kInfinite);
  if (which == 1 && (line_.close || line_.calibrate) && hooks_.requestClose) hooks_.requestClose();
  jobWatcherEnded_.set();
}

void CommandLineRun::watchExit() {
  if (line_.exitEvent && exitEvent_.waitOrShutdown(shutdown_)) {
    exitArrived_.store(true);
    // A running task stops at its next parameter, so that the close is not held up.
    if (cancel_ != nullptr) cancel_->set();
    if (hooks_.requestClose) hooks_.requestClose();
  }
  shutdown_.wait(Event::kInfinite);
  jobWatcherEnded_.wait(kJobWatcherGraceMs);
  if (cancel_ != nullptr) cancel_->set();
}

int unattendedExitStatus(const exchange::TaskOutcome& outcome, bool fileOk) {
  if (!fileOk) return 2;
  if (outcome.noLink()) return 3;
  if (outcome.errors > 0 || outcome.cancelled || outcome.differenceCount > 0) return 1;
  return 0;
}

}  // namespace zelmot::app
