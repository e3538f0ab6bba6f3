#pragma once
// Per-document state that value conversions consult: the user's access level and the
// device-clock record that the last clock reply filled (the clock dialog reads it).
#include <array>
#include <atomic>
#include <mutex>

namespace zelmot {
class UserPrompt;
}

namespace zelmot::model {

// Seven clock fields, fraction of a second first, year within the century last; day and
// month counted from 1; -1 for a field the device did not send.
using ClockFields = std::array<int, 7>;

class ValueContext {
public:
  int accessLevel() const { return accessLevel_.load(); }
  void setAccessLevel(int level) { accessLevel_.store(level); }

  ClockFields clock() const {
    std::lock_guard lock(clockMutex_);
    return clock_;
  }
  void setClock(const ClockFields& fields) {
    std::lock_guard lock(clockMutex_);
    clock_ = fields;
  }

  // Where warnings and notices of value editing go; may be null (then nothing is shown).
  UserPrompt* prompt() const { return prompt_.load(); }
  void setPrompt(UserPrompt* prompt) { prompt_.store(prompt); }

private:
  std::atomic<int> accessLevel_{0};
  std::atomic<UserPrompt*> prompt_{nullptr};
  mutable std::mutex clockMutex_;
  ClockFields clock_{-1, -1, -1, -1, -1, -1, -1};
};

}  // namespace zelmot::model
