#include "app/named_exit_event.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/event.h"
#include "platform/os_error.h"

namespace zelmot::app {
namespace {

// A semaphore has no descriptor to poll together with the shutdown event, so the wait is
// taken in slices this long; the shutdown is noticed within one slice.
constexpr long kWaitSliceNs = 100'000'000;
constexpr size_t kLongestName = 250;

timespec deadlineAfterSlice() {
  timespec deadline{};
  clock_gettime(CLOCK_REALTIME, &deadline);
  deadline.tv_nsec += kWaitSliceNs;
  if (deadline.tv_nsec >= 1'000'000'000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1'000'000'000L;
  }
  return deadline;
}

}  // namespace

std::string exitEventPath(const std::string& name) {
  if (name.empty() || name.size() > kLongestName || name.find('/') != std::string::npos) return {};
  return "/" + name;
}

NamedExitEvent::~NamedExitEvent() {
  if (semaphore_ == SEM_FAILED) return;
  sem_close(semaphore_);
  sem_unlink(path_.c_str());  // nothing is left behind in /dev/shm
}

bool NamedExitEvent::open(const std::string& name, std::string& error) {
  path_ = exitEventPath(name);
  if (path_.empty()) {
    error = "Недопустимое имя события выхода: '" + name + "'";
    return false;
  }
  semaphore_ = sem_open(path_.c_str(), O_CREAT, 0600, 0);
  if (semaphore_ == SEM_FAILED) {
    error = withOsError("Не удается создать событие выхода " + path_, errno);
    return false;
  }
  while (sem_trywait(semaphore_) == 0) {
  }
  return true;
}

bool NamedExitEvent::waitOrShutdown(Event& shutdown) {
  if (semaphore_ == SEM_FAILED) {
    shutdown.wait(Event::kInfinite);
    return false;
  }
  while (!shutdown.isSet()) {
    const timespec deadline = deadlineAfterSlice();
    if (sem_timedwait(semaphore_, &deadline) == 0) {
      sem_post(semaphore_);  // manual reset: it stays signalled
      return true;
    }
    // A semaphore that fails otherwise cannot be waited on: wait on the shutdown alone
    // for the slice instead of spinning.
    if (errno != ETIMEDOUT && errno != EINTR) {
      shutdown.wait(static_cast<int>(kWaitSliceNs / 1'000'000));
    }
  }
  return false;
}

bool NamedExitEvent::signal(const std::string& name, std::string& error) {
  const std::string path = exitEventPath(name);
  if (path.empty()) {
    error = "Недопустимое имя события выхода: '" + name + "'";
    return false;
  }
  sem_t* semaphore = sem_open(path.c_str(), 0);
  if (semaphore == SEM_FAILED) {
    error = withOsError("Событие выхода " + path + " не найдено", errno);
    return false;
  }
  int value = 0;
  if (sem_getvalue(semaphore, &value) == 0 && value == 0) sem_post(semaphore);
  sem_close(semaphore);
  return true;
}

}  // namespace zelmot::app
