#pragma once
// What a running task tells the person watching it. The desktop program implements it with
// the progress dialog, the CLI with the terminal. Called on the exchange thread (and, for
// the link check, on the caller's); implementations carry the calls to their own thread.
#include <string>

#include "exchange/task_kind.h"

namespace zelmot::exchange {

struct ProgressLine {
  std::string text;     // the log line itself
  std::string elapsed;  // "%H:%M:%S" since the task started
  std::string counter;  // "%i из %i", empty while no total is known
  int done = 0;
  int total = 0;
};

class ProgressSink {
public:
  virtual ~ProgressSink() = default;
  virtual void taskStarted(TaskCode code, const std::string& title, int total) = 0;
  virtual void logLine(const ProgressLine& line) = 0;
  virtual void rangeChanged(int total) = 0;
  // The task and any chained re-read have ended. The dialog keeps itself open for its
  // closing pause here; a headless caller returns at once.
  virtual void taskFinished() = 0;
};

}  // namespace zelmot::exchange
