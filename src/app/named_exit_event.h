#pragma once
// The named exit event of an unattended run: a POSIX named semaphore "/NAME" that another
// program posts to ask this one to close. It behaves as a manual-reset event: created (or
// opened) unsignalled, and once signalled it stays signalled for every waiter.
#include <semaphore.h>

#include <string>

namespace zelmot {
class Event;
}

namespace zelmot::app {

class NamedExitEvent {
public:
  NamedExitEvent() = default;
  ~NamedExitEvent();
  NamedExitEvent(const NamedExitEvent&) = delete;
  NamedExitEvent& operator=(const NamedExitEvent&) = delete;

  // Creates or opens the event and resets it. The name is a plain word (no "/"); false with
  // `error` when it is unusable or the system refuses.
  bool open(const std::string& name, std::string& error);
  bool isOpen() const { return semaphore_ != SEM_FAILED; }

  // Waits until the event is signalled (true) or `shutdown` is set (false).
  bool waitOrShutdown(Event& shutdown);

  // Signals the event of that name, as the outside program does; false with `error` when
  // no such event exists.
  static bool signal(const std::string& name, std::string& error);

private:
  sem_t* semaphore_ = SEM_FAILED;
  std::string path_;
};

// "/NAME" for a usable name, empty otherwise.
std::string exitEventPath(const std::string& name);

}  // namespace zelmot::app
