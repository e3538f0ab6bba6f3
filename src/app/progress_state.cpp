#include "app/progress_state.h"

namespace zelmot::app {

void ProgressState::start(exchange::TaskCode code, const std::string& title, int total) {
  phase_ = Phase::Running;
  code_ = code;
  title_ = title;
  detailed_ = false;
  cancelRequested_ = false;
  elapsed_ = "00:00:00";
  counter_.clear();
  done_ = 0;
  total_ = total;
  lines_.clear();
}

bool ProgressState::addLine(const exchange::ProgressLine& line) {
  lines_.push_back(line.text);
  if (!line.elapsed.empty()) elapsed_ = line.elapsed;
  if (line.total != 0) {
    counter_ = line.counter;
    done_ = line.done;
    total_ = line.total;
  }
  return lines_.size() % kScrollEveryLines == 0;
}

void ProgressState::finish() {
  if (phase_ == Phase::Running || phase_ == Phase::Idle) phase_ = Phase::Closing;
}

ProgressState::CancelAction ProgressState::pressCancel() {
  switch (phase_) {
    case Phase::Running:
      cancelRequested_ = true;
      return CancelAction::SignalCancel;
    case Phase::Closing:
      phase_ = Phase::Closed;
      return CancelAction::CloseNow;
    default: return CancelAction::None;
  }
}

}  // namespace zelmot::app
