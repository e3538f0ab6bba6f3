#pragma once
// Progress of a task on the terminal: every log line as it comes, or nothing with --quiet.
#include <mutex>

#include "exchange/progress_sink.h"

namespace zelmot::cli {

class TerminalProgress final : public exchange::ProgressSink {
public:
  explicit TerminalProgress(bool quiet) : quiet_(quiet) {}
  void taskStarted(exchange::TaskCode code, const std::string& title, int total) override;
  void logLine(const exchange::ProgressLine& line) override;
  void rangeChanged(int) override {}
  void taskFinished() override {}

private:
  std::mutex mutex_;
  bool quiet_;
};

}  // namespace zelmot::cli
