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

#include "link/reply_collector.h"
#include "platform/os_error.h"

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

OpenResult SerialPort::open_port() {
  std::lock_guard lock(mutex_);
  timeouts_.charTime = 0;
  timeouts_.replyWait = 0;
  if (fd_ >= 0) closeFdLocked();

  const std::string path = resolvePortPath(portName_, mapper_);
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    rememberErrorLocked(errno);
    return OpenResult::NotOpened;
  }
  // A port is a character device. A regular file or a pipe named by mistake would take the
  // frames (a file is overwritten, a pipe echoes each request back as its own reply).
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) {
    ::close(fd);
    rememberErrorLocked(ENOTTY);
    return OpenResult::NotOpened;
  }
  // TIOCEXCL keeps other users out (root excepted); the lock also stops other root
  // processes that honour it, such as a second copy of this program.
  ::ioctl(fd, TIOCEXCL);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    rememberErrorLocked(error);
    return OpenResult::NotOpened;
  }
  fd_ = fd;
  failed_ = false;
  return configureLocked();
}

OpenResult SerialPort::configureLocked() {
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) {
    rememberErrorLocked(errno);
    return OpenResult::SettingRefused;
  }
  const OpenResult refused = configureTermios(tio, settings_);
  if (refused != OpenResult::Ok) {
    rememberErrorLocked(EINVAL);
    return refused;
  }

  ParityMode parity;
  parityModeFor(settings_.parity, parity);
  const LineTimeouts timeouts =
      computeLineTimeouts(settings_.baud, parity.checked, settings_.stopBits == 2);
  timeouts_.charTime = timeouts.charTime;

  if (::tcsetattr(fd_, TCSANOW, &tio) != 0 ||
      (!hasStandardSpeed(settings_.baud) && !setArbitraryBaud(fd_, settings_.baud))) {
    rememberErrorLocked(errno);
    return OpenResult::NotApplied;
  }
  probeModemLinesLocked();
  requestLowLatency(fd_);
  timeouts_ = timeouts;
  ::tcflush(fd_, TCIOFLUSH);
  return OpenResult::Ok;
}

// Modem lines off: the semi-automatic converter transmits while RTS is up. A line without
// them (a pseudo-terminal answers ENOTTY) cannot serve that converter at all.
void SerialPort::probeModemLinesLocked() {
  int lines = TIOCM_RTS | TIOCM_DTR;
  rtsUnavailable_ = ::ioctl(fd_, TIOCMBIC, &lines) != 0;
  serial_rs485 rs485{};
  rs485Supported_ = !rtsUnavailable_ && ::ioctl(fd_, TIOCGRS485, &rs485) == 0;
  rs485Preset_ = rs485Supported_ && (rs485.flags & SER_RS485_ENABLED) != 0;
  rs485Ours_ = false;
}

CloseResult SerialPort::close_port() {
  std::lock_guard lock(mutex_);
  if (fd_ < 0) return CloseResult::NotOpen;
  if (::tcflush(fd_, TCIOFLUSH) != 0) {
    const int error = errno;
    rememberErrorLocked(error);
    // A port whose device has gone must still be released, or it could never be reopened.
    if (!failed_ && !deviceGone(error)) return CloseResult::PurgeFailed;
  }
  closeFdLocked();
  return CloseResult::Closed;
}

void SerialPort::closeFdLocked() {
  // The driver's RS-485 mode outlives the descriptor: leave the port as it was found.
  if (rs485Ours_) useKernelRs485Locked(false);
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
  failed_ = false;
}

ExchangeResult SerialPort::port_exchange(const char* frame, size_t count, ReplyBuffer& reply,
                                         size_t& replyCount) {
  replyCount = 0;
  reply.fill(0);
  std::lock_guard lock(mutex_);
  if (stopEvent_.isSet()) return ExchangeResult::Aborted;
  if (fd_ < 0) {
    rememberErrorLocked(EBADF);
    return ExchangeResult::Aborted;
  }
  if (failed_) return ExchangeResult::Aborted;

  ::tcflush(fd_, TCIFLUSH);
  if (!writeFrameLocked(frame, count)) return ExchangeResult::Aborted;
  return awaitReplyLocked(reply, replyCount);
}

bool SerialPort::writeFrameLocked(const char* frame, size_t count) {
  const bool switched = converterMode_ == ConverterMode::SemiAutomatic && !rtsUnavailable_;
  // Where the driver can switch RTS around each write, it does so more exactly than we can.
  // A mode the system set up for the port (an RS-485 port of a board) is left as it is.
  if (rs485Supported_ && !rs485Preset_ && rs485Ours_ != switched) useKernelRs485Locked(switched);
  if (switched && !rs485Preset_ && !rs485Ours_) return writeSwitchedLocked(frame, count);
  const int limit = static_cast<int>(timeouts_.writePerChar * count + timeouts_.writeConstant);
  return writeAllLocked(frame, count, limit) != WriteOutcome::Aborted;
}

// The converter transmits while RTS is up: up before the first start bit, down once the
// last stop bit has left. The line time of the frame is waited by a timer (some drivers
// report the queue drained while the hardware still sends), then tcdrain.
bool SerialPort::writeSwitchedLocked(const char* frame, size_t count) {
  using Ms = std::chrono::duration<double, std::milli>;
  const auto start = Clock::now();
  setRtsLocked(true);
  const int limit = static_cast<int>(timeouts_.writePerChar * count + timeouts_.writeConstant);
  bool sent = writeAllLocked(frame, count, limit) != WriteOutcome::Aborted;
  if (sent) {
    const double onLine = timeouts_.charTime * static_cast<double>(count);
    sent = waitOrStopLocked(onLine - Ms(Clock::now() - start).count());
  }
  if (sent) ::tcdrain(fd_);
  setRtsLocked(false);
  return sent;
}

// Sleeps on the stop event's descriptor; false when stop_event ended the wait.
bool SerialPort::waitOrStopLocked(double milliseconds) {
  if (!(milliseconds > 0)) return !stopEvent_.isSet();
  const auto nanoseconds = static_cast<long long>(milliseconds * 1e6);
  const timespec timeout{static_cast<time_t>(nanoseconds / 1000000000),
                         static_cast<long>(nanoseconds % 1000000000)};
  pollfd stop{stopEvent_.fd(), POLLIN, 0};
  while (true) {
    const int ready = ::ppoll(&stop, 1, &timeout, nullptr);
    if (ready < 0 && errno == EINTR) continue;  // an approximate wait is good enough here
    return ready == 0;
  }
}

bool SerialPort::useKernelRs485Locked(bool on) {
  serial_rs485 rs485{};
  if (::ioctl(fd_, TIOCGRS485, &rs485) != 0) {
    rs485Supported_ = false;
    return false;
  }
  if (on) {
    rs485.flags |= SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
    rs485.flags &= ~static_cast<uint32_t>(SER_RS485_RTS_AFTER_SEND);
    rs485.delay_rts_before_send = 0;
    rs485.delay_rts_after_send = 0;
  } else {
    rs485.flags &= ~static_cast<uint32_t>(SER_RS485_ENABLED);
  }
  if (::ioctl(fd_, TIOCSRS485, &rs485) != 0) {
    // Reading the mode but refusing it: switch RTS ourselves from now on.
    rs485Supported_ = false;
    rs485Ours_ = false;
    return false;
  }
  rs485Ours_ = on;
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

ExchangeResult SerialPort::awaitReplyLocked(ReplyBuffer& reply, size_t& replyCount) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeouts_.replyWait);
  ReplyCollector collector;
  char chunk[256];
  while (true) {
    pollfd fds[2] = {{stopEvent_.fd(), POLLIN, 0}, {fd_, POLLIN, 0}};
    const int ready = ::poll(fds, 2, msUntil(deadline));
    if (ready < 0) {
      if (errno == EINTR) continue;
      failLocked(errno);
      return ExchangeResult::Aborted;
    }
    if (fds[0].revents != 0) return ExchangeResult::Aborted;
    if (ready == 0) return ExchangeResult::NoReply;
    if ((fds[1].revents & POLLIN) == 0) {
      failLocked(EIO);  // hang-up or error without data: the device has gone
      return ExchangeResult::Aborted;
    }
    const ssize_t got = ::read(fd_, chunk, sizeof chunk);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (got <= 0) {
      failLocked(got == 0 ? EIO : errno);
      return ExchangeResult::Aborted;
    }
    const auto outcome =
        collectReply(collector, chunk, static_cast<size_t>(got), reply, replyCount);
    if (outcome) return *outcome;
  }
}

void SerialPort::setRtsLocked(bool up) {
  int rts = TIOCM_RTS;
  ::ioctl(fd_, up ? TIOCMBIS : TIOCMBIC, &rts);
}

void SerialPort::failLocked(int error) {
  failed_ = true;
  rememberErrorLocked(error);
}

void SerialPort::rememberErrorLocked(int error) {
  lastError_ = error;
  lastErrorText_ = osErrorText(error);
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
  return lastErrorText_;
}

int SerialPort::lastError() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

bool SerialPort::rtsUnavailable() const {
  return rtsUnavailable_;
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

void SerialPort::setConverterMode(ConverterMode mode) {
  converterMode_ = mode;
}

ConverterMode SerialPort::converterMode() const {
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
