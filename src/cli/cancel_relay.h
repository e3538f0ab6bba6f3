#pragma once
// Hands a cancel request from the signal watcher to whatever task event exists right now.
#include <mutex>

#include "platform/event.h"

namespace zelmot::cli {

class CancelRelay {
public:
  void attach(Event* event) {
    std::lock_guard lock(mutex_);
    event_ = event;
    if (event_ != nullptr && requested_) event_->set();
  }
  void fire() {
    std::lock_guard lock(mutex_);
    requested_ = true;
    if (event_ != nullptr) event_->set();
  }

private:
  std::mutex mutex_;
  Event* event_ = nullptr;
  bool requested_ = false;
};

}  // namespace zelmot::cli
