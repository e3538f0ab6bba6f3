#pragma once
// The window's side of an unattended run: what the command line's job runs, whether the
// finished task saves the document, and the exit status. A job that cannot run (a file
// that does not open, a read with exchange switched off) sends nothing to the device and
// never saves over the file.
#include <functional>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "exchange/task_kind.h"
#include "exchange/task_outcome.h"

namespace zelmot::app {

class FileController;

inline constexpr const char* kNothingReadText =
    "Ничего не прочитано: обмен с прибором отключен (не задан /port); файл не сохранен";
inline constexpr const char* kNoAnswerReadText =
    "Ничего не прочитано: прибор не ответил; файл не сохранен";
inline constexpr const char* kInterruptedReadText =
    "Чтение прервано до конца; файл не сохранен";
inline constexpr const char* kNoCalibrationText =
    "Юстировка не выполнена: обмен с прибором отключен (не задан /port)";

class UnattendedJob {
public:
  struct Hooks {
    // Starts the bulk task on the whole tree; false when it did not start.
    std::function<bool(exchange::TaskCode)> startTask;
    std::function<void()> done;                      // the job has ended, run or not
    std::function<void(const std::string&)> report;  // a message for standard error
    // Opens the calibration; its end comes through calibrationEnded().
    std::function<void()> calibrate;
  };

  explicit UnattendedJob(CommandLine line, Hooks hooks = {})
      : line_(std::move(line)), hooks_(std::move(hooks)) {}

  // Runs `job`: its task is started, and a job with nothing to run (or whose task did
  // not start) ends at once. The end of a started task comes through finish().
  void run(CommandLineJob job, FileController& files);
  // The job's task ended (none: nothing ran): saves the document when due, then ends.
  void finish(std::optional<exchange::TaskCode> code, const exchange::TaskOutcome& outcome,
              FileController& files);

  struct Plan {
    std::optional<exchange::TaskCode> task;  // none: the job ends at once
    std::string message;                     // why nothing runs, for standard error
    bool calibrate = false;                  // the calibration dialogs run instead
  };
  // Prepares `job`: a write opens the command line's file first (through `files`, which
  // tells its own failure).
  Plan prepare(CommandLineJob job, FileController& files);

  // A task of the job ended. True when the document is to be saved to the command line's
  // path: after a read that got answers. `message` says why a read was not saved.
  bool taskEnded(exchange::TaskCode code, const exchange::TaskOutcome& outcome, std::string& message);
  // The calibration has ended (it signals the job's end; a run that did not commit its
  // coefficients makes the status 1).
  void calibrationEnded(bool succeeded, FileController& files);
  void saveFailed() { fail(2); }
  // The planned task could not start (no tree, the exchange thread has ended).
  void taskNotStarted() { fail(2); }

  // 0 done, 1 some parameters failed, 2 a file could not be opened or saved or the job is
  // not available, 3 no link (or no exchange at all).
  int status() const { return status_; }
  const CommandLine& line() const { return line_; }

private:
  // The first failure decides the status.
  void fail(int status) {
    if (status_ == 0) status_ = status;
  }

  void report(const std::string& message) const {
    if (!message.empty() && hooks_.report) hooks_.report(message);
  }

  CommandLine line_;
  Hooks hooks_;
  int status_ = 0;
};

}  // namespace zelmot::app
