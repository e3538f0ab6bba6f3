#include "link/serial_port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>

#include "link/reply_collector.h"

namespace zelmot::link {
namespace {

using Clock = std::chrono::steady_clock;

int msUntil(Clock::time_point deadline) {
  const auto left = deadline - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

bool deviceGone(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

// USB adapters hold received bytes for their latency timer unless asked not to; drivers
// without the request simply refuse it.
void requestLowLatency(int fd) {
  serial_struct serial{};
  if (::ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
  serial.flags |= ASYNC_LOW_LATENCY;
  ::ioctl(fd, TIOCSSERIAL, &serial);
}

}  // namespace

SerialPort::SerialPort(ComPortMapper mapper) : mapper_(std::move(mapper)) {}

SerialPort::~SerialPort() {
  std::lock_guard lock(mutex_);
  if (fd_ >= 0) {
    ::tcflush(fd_, TCIOFLUSH);
    closeFdLocked();
  }
}

int SerialPort::open_port() {
  std::lock_guard lock(mutex_);
  timeouts_.charTime = 0;
  timeouts_.replyWait = 0;
  if (fd_ >= 0) closeFdLocked();

  const std::string path = resolvePortPath(portName_, mapper_);
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    rememberErrorLocked(errno);
    return -1;
  }
  // A port is a character device. A regular file or a pipe named by mistake would take the
  // frames (a file is overwritten, a pipe echoes each request back as its own reply).
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) {
    ::close(fd);
    rememberErrorLocked(ENOTTY);
    return -1;
  }
  // TIOCEXCL keeps other users out (root excepted); the lock also stops other root
  // processes that honour it, such as a second copy of this program.
  ::ioctl(fd, TIOCEXCL);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    rememberErrorLocked(error);
    return -1;
  }
  fd_ = fd;
  failed_ = false;
  return configureLocked();
}

int SerialPort::configureLocked() {
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) {
    rememberErrorLocked(errno);
    return -2;
  }
  const int rc = configureTermios(tio, settings_);
  if (rc != 0) return rc;

  ParityMode parity;
  parityModeForCode(settings_.parityCode, parity);
  const LineTimeouts timeouts =
      computeLineTimeouts(settings_.baud, parity.checked, settings_.stopBits == 2);
  timeouts_.charTime = timeouts.charTime;

  if (::tcsetattr(fd_, TCSANOW, &tio) != 0 ||
      (!hasStandardSpeed(settings_.baud) && !setArbitraryBaud(fd_, settings_.baud))) {
    rememberErrorLocked(errno);
    return -4;
  }
  // Modem lines off: the semi-automatic converter transmits while RTS is up.
  int lines = TIOCM_RTS | TIOCM_DTR;
  ::ioctl(fd_, TIOCMBIC, &lines);
  requestLowLatency(fd_);
  timeouts_ = timeouts;
  ::tcflush(fd_, TCIOFLUSH);
  return 0;
}

int SerialPort::close_port() {
  std::lock_guard lock(mutex_);
  if (fd_ < 0) return -2;
  if (::tcflush(fd_, TCIOFLUSH) != 0) {
    const int error = errno;
    rememberErrorLocked(error);
    // A port whose device has gone must still be released, or it could never be reopened.
    if (!failed_ && !deviceGone(error)) return -1;
  }
  closeFdLocked();
  return 0;
}

void SerialPort::closeFdLocked() {
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
  failed_ = false;
}

int SerialPort::port_exchange(const char* frame, size_t count, ReplyBuffer& reply,
                              size_t& replyCount) {
  replyCount = 0;
  reply.fill(0);
  std::lock_guard lock(mutex_);
  if (stopEvent_.isSet()) return kExchangeAborted;
  if (fd_ < 0) {
    rememberErrorLocked(EBADF);
    return kExchangeAborted;
  }
  if (failed_) return kExchangeAborted;

  ::tcflush(fd_, TCIFLUSH);
  if (!writeFrameLocked(frame, count)) return kExchangeAborted;
  return awaitReplyLocked(reply, replyCount);
}

bool SerialPort::writeFrameLocked(const char* frame, size_t count) {
  const int perChar = static_cast<int>(timeouts_.writePerChar);
  const int constant = static_cast<int>(timeouts_.writeConstant);
  if (converterMode_ != kSemiAutomaticConverter) {
    const int limit = perChar * static_cast<int>(count) + constant;
    return writeAllLocked(frame, count, limit) != WriteOutcome::Aborted;
  }
  // The converter transmits while RTS is up: one character at a time, each given its time
  // on the line, so that RTS falls about one character after the last one.
  setRtsLocked(true);
  for (size_t i = 0; i < count; ++i) {
    // At low rates the character gaps add up to seconds: stop_event is honoured between them.
    if (stopEvent_.isSet() ||
        writeAllLocked(frame + i, 1, perChar + constant) == WriteOutcome::Aborted) {
      setRtsLocked(false);
      return false;
    }
    busy_wait(timeouts_.charTime);
  }
  ::tcdrain(fd_);
  setRtsLocked(false);
  return true;
}

// A write that times out is left unfinished (the reply wait then ends without a reply);
// Aborted on stop_event or when the device has gone.
SerialPort::WriteOutcome SerialPort::writeAllLocked(const char* data, size_t count,
                                                   int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  size_t done = 0;
  while (done < count) {
    const ssize_t written = ::write(fd_, data + done, count - done);
    if (written > 0) {
      done += static_cast<size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN) {
      failLocked(errno);
      return WriteOutcome::Aborted;
    }
    pollfd fds[2] = {{stopEvent_.fd(), POLLIN, 0}, {fd_, POLLOUT, 0}};
    const int ready = ::poll(fds, 2, msUntil(deadline));
    if (ready < 0 && errno != EINTR) {
      failLocked(errno);
      return WriteOutcome::Aborted;
    }
    if (fds[0].revents != 0) return WriteOutcome::Aborted;
    if (ready == 0) return WriteOutcome::TimedOut;
    if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      failLocked(EIO);
      return WriteOutcome::Aborted;
    }
  }
  return WriteOutcome::Written;
}

int SerialPort::awaitReplyLocked(ReplyBuffer& reply, size_t& replyCount) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeouts_.replyWait);
  ReplyCollector collector;
  char chunk[256];
  while (true) {
    pollfd fds[2] = {{stopEvent_.fd(), POLLIN, 0}, {fd_, POLLIN, 0}};
    const int ready = ::poll(fds, 2, msUntil(deadline));
    if (ready < 0) {
      if (errno == EINTR) continue;
      failLocked(errno);
      return kExchangeAborted;
    }
    if (fds[0].revents != 0) return kExchangeAborted;
    if (ready == 0) return kExchangeNoReply;
    if ((fds[1].revents & POLLIN) == 0) {
      failLocked(EIO);  // hang-up or error without data: the device has gone
      return kExchangeAborted;
    }
    const ssize_t got = ::read(fd_, chunk, sizeof chunk);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (got <= 0) {
      failLocked(got == 0 ? EIO : errno);
      return kExchangeAborted;
    }
    switch (collector.feed(chunk, static_cast<size_t>(got))) {
      case ReplyCollector::State::Complete:
        reply = collector.chars();
        replyCount = collector.count();
        return kExchangeDone;
      case ReplyCollector::State::LineError:
        return kExchangeLineError;
      case ReplyCollector::State::Incomplete:
        break;
    }
  }
}

void SerialPort::setRtsLocked(bool up) {
  // Pseudo-terminals have no modem lines (ENOTTY); the exchange works without them.
  int rts = TIOCM_RTS;
  ::ioctl(fd_, up ? TIOCMBIS : TIOCMBIC, &rts);
}

void SerialPort::failLocked(int error) {
  failed_ = true;
  rememberErrorLocked(error);
}

void SerialPort::rememberErrorLocked(int error) {
  lastError_ = std::error_code(error, std::generic_category()).message();
}

bool SerialPort::isOpen() const {
  std::lock_guard lock(mutex_);
  return fd_ >= 0;
}

bool SerialPort::hasFailed() const {
  std::lock_guard lock(mutex_);
  return failed_;
}

std::string SerialPort::lastErrorText() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

void SerialPort::setPortName(const std::string& name) {
  std::lock_guard lock(mutex_);
  portName_ = name;
}

std::string SerialPort::portName() const {
  std::lock_guard lock(mutex_);
  return portName_;
}

std::string SerialPort::portPath() const {
  std::lock_guard lock(mutex_);
  return resolvePortPath(portName_, mapper_);
}

void SerialPort::setLineSettings(const LineSettings& settings) {
  std::lock_guard lock(mutex_);
  settings_ = settings;
}

LineSettings SerialPort::lineSettings() const {
  std::lock_guard lock(mutex_);
  return settings_;
}

void SerialPort::setConverterMode(int mode) {
  std::lock_guard lock(mutex_);
  converterMode_ = mode;
}

int SerialPort::converterMode() const {
  std::lock_guard lock(mutex_);
  return converterMode_;
}

float SerialPort::char_time() const {
  std::lock_guard lock(mutex_);
  return timeouts_.charTime;
}

uint16_t SerialPort::reply_wait() const {
  std::lock_guard lock(mutex_);
  return timeouts_.replyWait;
}

LineTimeouts SerialPort::timeouts() const {
  std::lock_guard lock(mutex_);
  return timeouts_;
}

}  // namespace zelmot::link
