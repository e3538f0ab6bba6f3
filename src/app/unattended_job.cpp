#include "app/unattended_job.h"

#include <filesystem>

#include "app/command_line_run.h"
#include "app/file_controller.h"

namespace zelmot::app {

UnattendedJob::Plan UnattendedJob::prepare(CommandLineJob job, FileController& files) {
  switch (job) {
    case CommandLineJob::WriteAll: {
      std::error_code error;
      // A file that does not exist opens nothing; the write then has no values to send.
      const std::string& path = line_.documentPath;
      if (!path.empty() && std::filesystem::exists(path, error) && !files.openFile(path)) {
        fail(2);
        return {};
      }
      return {exchange::TaskCode::WriteAll, {}};
    }
    case CommandLineJob::ReadAll:
      if (line_.noExchange) {
        fail(3);
        return {std::nullopt, kNothingReadText};
      }
      return {exchange::TaskCode::Read, {}};
    case CommandLineJob::Calibrate:
      if (line_.noExchange) {
        fail(3);
        return {std::nullopt, kNoCalibrationText};
      }
      return {std::nullopt, {}, true};
    case CommandLineJob::None: break;
  }
  return {};
}

bool UnattendedJob::taskEnded(exchange::TaskCode code, const exchange::TaskOutcome& outcome,
                              std::string& message) {
  fail(unattendedExitStatus(outcome, true));
  if (code != exchange::TaskCode::Read || !line_.readRequested || line_.documentPath.empty()) {
    return false;
  }
  // A read that nobody answered would save a document without values over the file.
  if (outcome.noLink() || outcome.successes == 0) {
    fail(3);
    message = kNoAnswerReadText;
    return false;
  }
  // Neither does a read that was stopped half-way (the exit event, the window closed).
  if (outcome.cancelled) {
    message = kInterruptedReadText;
    return false;
  }
  return true;
}

void UnattendedJob::run(CommandLineJob job, FileController& files) {
  const Plan plan = prepare(job, files);
  report(plan.message);
  if (plan.calibrate && hooks_.calibrate) {
    hooks_.calibrate();
    return;
  }
  if (plan.task) {
    if (hooks_.startTask && hooks_.startTask(*plan.task)) return;
    taskNotStarted();
  }
  finish(std::nullopt, {}, files);
}

void UnattendedJob::calibrationEnded(bool succeeded, FileController& files) {
  if (!succeeded) fail(1);
  finish(std::nullopt, {}, files);
}

void UnattendedJob::finish(std::optional<exchange::TaskCode> code,
                           const exchange::TaskOutcome& outcome, FileController& files) {
  if (code) {
    std::string message;
    if (taskEnded(*code, outcome, message) && !files.saveFile(line_.documentPath)) saveFailed();
    report(message);
  }
  if (hooks_.done) hooks_.done();
}

}  // namespace zelmot::app
