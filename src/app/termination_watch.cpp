#include "app/termination_watch.h"

#include <cerrno>

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace zelmot::app {
namespace {

sigset_t terminationSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

}  // namespace

TerminationWatch::TerminationWatch() {
  const sigset_t set = terminationSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  signalFd_ = signalfd(-1, &set, SFD_CLOEXEC);
}

TerminationWatch::~TerminationWatch() {
  stop();
  if (signalFd_ >= 0) close(signalFd_);
}

void TerminationWatch::start(std::function<void()> onSignal) {
  if (signalFd_ < 0 || watcher_.joinable()) return;
  onSignal_ = std::move(onSignal);
  watcher_ = std::thread([this] { watch(); });
}

void TerminationWatch::stop() {
  stop_.set();
  if (watcher_.joinable()) watcher_.join();
}

void TerminationWatch::watch() {
  for (;;) {
    pollfd fds[2] = {{signalFd_, POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;  // nothing more can be watched; never spin on a failing poll
    }
    if (fds[1].revents != 0) return;
    if (fds[0].revents == 0) continue;
    signalfd_siginfo info;
    if (read(signalFd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
    if (onSignal_) onSignal_();
  }
}

}  // namespace zelmot::app
