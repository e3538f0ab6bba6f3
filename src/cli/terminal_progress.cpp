#include "cli/terminal_progress.h"

#include <cstdio>

namespace zelmot::cli {

void TerminalProgress::taskStarted(exchange::TaskCode, const std::string& title, int total) {
  if (quiet_) return;
  std::lock_guard lock(mutex_);
  std::printf("%s (%d)\n", title.c_str(), total);
  std::fflush(stdout);
}

void TerminalProgress::logLine(const exchange::ProgressLine& line) {
  if (quiet_) return;
  std::lock_guard lock(mutex_);
  if (line.counter.empty()) {
    std::printf("[%s] %s\n", line.elapsed.c_str(), line.text.c_str());
  } else {
    std::printf("[%s %s] %s\n", line.elapsed.c_str(), line.counter.c_str(), line.text.c_str());
  }
  std::fflush(stdout);
}

}  // namespace zelmot::cli
