#include "cli/signal_cancel.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace zelmot::cli {
namespace {

sigset_t cancelSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

SignalCancel::SignalCancel(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  const sigset_t set = cancelSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  signalFd_ = signalfd(-1, &set, SFD_CLOEXEC);
  if (signalFd_ >= 0) watcher_ = std::thread([this] { watch(); });
}

SignalCancel::~SignalCancel() {
  stop_.set();
  if (watcher_.joinable()) watcher_.join();
  if (signalFd_ >= 0) close(signalFd_);
}

void SignalCancel::watch() {
  for (;;) {
    pollfd fds[2] = {{signalFd_, POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents != 0) return;
    if (fds[0].revents == 0) continue;
    signalfd_siginfo info;
    if (read(signalFd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
    signalled_.store(true);
    if (onSignal_) onSignal_();
  }
}

}  // namespace zelmot::cli
