#include "sim_line.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <cstdlib>
#include <cstring>

#include "link/line_settings.h"
#include "platform/os_error.h"

namespace zelmot::sim {
namespace {

constexpr int kWriteTimeoutMs = 1000;

std::string systemError(const std::string& what) { return withOsError(what, errno); }

link::Parity linkParityOf(Parity parity) {
  switch (parity) {
    case Parity::Even: return link::Parity::Even;
    case Parity::Odd: return link::Parity::Odd;
    case Parity::None: break;
  }
  return link::Parity::NoneUnchecked;
}

bool makeRaw(int fd, std::string& error) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) {
    error = systemError("tcgetattr");
    return false;
  }
  cfmakeraw(&settings);
  if (tcsetattr(fd, TCSANOW, &settings) != 0) {
    error = systemError("tcsetattr");
    return false;
  }
  return true;
}

}  // namespace

SimLine::~SimLine() { hangUp(); }

bool SimLine::openPseudoTerminal(std::string& slavePath, std::string& error) {
  hangUp();
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) {
    error = systemError("posix_openpt");
    return false;
  }
  fd_ = master;
  char name[128];
  if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0) {
    error = systemError("подготовка псевдотерминала");
    hangUp();
    return false;
  }
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  fcntl(master, F_SETFD, FD_CLOEXEC);
  slaveFd_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  // Without echo and line editing before any host configures the slave.
  if (slaveFd_ < 0 || !makeRaw(slaveFd_, error)) {
    if (error.empty()) error = systemError(std::string("открытие ") + name);
    hangUp();
    return false;
  }
  slavePath = name;
  return true;
}

bool SimLine::openDevice(const std::string& path, const NetworkSettings& settings,
                         std::string& error) {
  hangUp();
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    error = systemError("открытие " + path);
    return false;
  }
  if (!applySettings(settings, error)) {  // raw mode included
    hangUp();
    return false;
  }
  tcflush(fd_, TCIOFLUSH);
  return true;
}

bool SimLine::applySettings(const NetworkSettings& settings, std::string& error) {
  if (isPseudoTerminal() || fd_ < 0) return true;
  termios t{};
  if (tcgetattr(fd_, &t) != 0) {
    error = systemError("tcgetattr");
    return false;
  }
  cfmakeraw(&t);
  const link::LineSettings line{settings.baud, linkParityOf(settings.parity), settings.dataBits,
                                settings.stopBits};
  if (link::configureTermios(t, line) != link::OpenResult::Ok) {
    error = "настройки линии не поддерживаются: " + std::to_string(settings.baud) +
            " бод, бит данных " + std::to_string(settings.dataBits) + ", стоповых бит " +
            std::to_string(settings.stopBits);
    return false;
  }
  if (tcsetattr(fd_, TCSADRAIN, &t) != 0 ||
      (!link::hasStandardSpeed(settings.baud) && !link::setArbitraryBaud(fd_, settings.baud))) {
    error = systemError("настройка линии");
    return false;
  }
  return true;
}

long SimLine::readSome(char* buffer, size_t size) {
  if (fd_ < 0) return -1;
  const ssize_t n = read(fd_, buffer, size);
  if (n > 0) return n;
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
  return -1;  // end of file or EIO: the other side is gone
}

bool SimLine::writeAll(const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    if (fd_ < 0) return false;
    const ssize_t n = write(fd_, text.data() + done, text.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd p{fd_, POLLOUT, 0};
    if (poll(&p, 1, kWriteTimeoutMs) <= 0) return false;
  }
  return true;
}

void SimLine::drain(int timeoutMs) {
  if (fd_ < 0) return;
  if (!isPseudoTerminal()) {
    tcdrain(fd_);
    return;
  }
  // Nothing signals that the other side has read; look a few times a millisecond apart.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int waiting = 0;
  while (ioctl(slaveFd_, FIONREAD, &waiting) == 0 && waiting > 0 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void SimLine::hangUp() {
  if (slaveFd_ >= 0) close(slaveFd_);
  if (fd_ >= 0) close(fd_);
  slaveFd_ = -1;
  fd_ = -1;
}

}  // namespace zelmot::sim
