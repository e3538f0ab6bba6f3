#pragma once
// A progress sink that remembers what it was told, and the shared recording prompt.
#include <mutex>
#include <string>
#include <vector>

#include "exchange/progress_sink.h"
#include "support/recording_prompt.h"

namespace zelmot::exchange::testing {

class RecordingSink final : public ProgressSink {
public:
  void taskStarted(TaskCode, const std::string& title, int) override { push("<" + title + ">"); }
  void logLine(const ProgressLine& line) override { push(line.text); }
  void rangeChanged(int) override {}
  void taskFinished() override { push("<finished>"); }

  std::vector<std::string> lines() {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  bool has(const std::string& text) {
    for (const std::string& line : lines()) {
      if (line == text) return true;
    }
    return false;
  }

private:
  void push(std::string text) {
    std::lock_guard lock(mutex_);
    lines_.push_back(std::move(text));
  }
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

using test_support::RecordingPrompt;

}  // namespace zelmot::exchange::testing
