#pragma once
// The serial port that leads to the RS-485 line: opened exclusively, configured from the
// line settings, and used for one request/reply exchange at a time. All methods are safe
// to call from several threads; an exchange holds the port for its whole duration.
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "link/frame_codec.h"
#include "link/line_settings.h"
#include "link/line_timing.h"
#include "link/port_names.h"
#include "platform/event.h"

namespace zelmot::link {

using ReplyBuffer = std::array<char, kReplyBufferSize>;

// Results of port_exchange.
inline constexpr int kExchangeDone = 0;
inline constexpr int kExchangeAborted = -1;  // stop_event, or the port is closed or has failed
inline constexpr int kExchangeNoReply = 2;
inline constexpr int kExchangeLineError = 3;

// Converter modes: 0 = semi-automatic (the program drives the transmitter with RTS),
// anything else = automatic.
inline constexpr int kSemiAutomaticConverter = 0;
inline constexpr int kAutomaticConverter = 1;

class SerialPort {
public:
  explicit SerialPort(ComPortMapper mapper = {});
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // 0 success; -1 the device did not open (also when another program holds it: then
  // lastErrorText() is the text of EBUSY); -2 reading the line state failed, or parity
  // code, stop bits or baud not accepted; -3 data bits outside 5..8; -4 applying the line
  // state failed. An open port is closed first. After -2..-4 the port stays open.
  int open_port();
  // 0 closed; -2 was not open; -1 purging failed (the port stays open, unless the device
  // is gone: then it is closed anyway).
  int close_port();

  // Writes the frame and waits for a reply ending in a carriage return. Results: 0 reply
  // complete (replyCount characters, at most 29, the CR last); -1 stop_event, port closed,
  // or port failed (device gone: later exchanges fail at once until the port is reopened);
  // 2 no complete reply within reply_wait; 3 line error or break without the CR.
  int port_exchange(const char* frame, size_t count, ReplyBuffer& reply, size_t& replyCount);

  // Manual-reset; once set, every exchange ends at once with -1.
  Event& stop_event() { return stopEvent_; }

  bool isOpen() const;
  bool hasFailed() const;
  std::string lastErrorText() const;  // the operating system's text of the last failure

  void setPortName(const std::string& name);
  std::string portName() const;
  std::string portPath() const;  // the device path the name maps to
  void setLineSettings(const LineSettings& settings);
  LineSettings lineSettings() const;
  void setConverterMode(int mode);
  int converterMode() const;

  float char_time() const;
  uint16_t reply_wait() const;
  LineTimeouts timeouts() const;

private:
  enum class WriteOutcome { Written, TimedOut, Aborted };

  int configureLocked();
  void closeFdLocked();
  void setRtsLocked(bool up);
  bool writeFrameLocked(const char* frame, size_t count);
  WriteOutcome writeAllLocked(const char* data, size_t count, int timeoutMs);
  int awaitReplyLocked(ReplyBuffer& reply, size_t& replyCount);
  void failLocked(int error);
  void rememberErrorLocked(int error);

  const ComPortMapper mapper_;
  Event stopEvent_{Event::Reset::Manual};
  mutable std::mutex mutex_;
  int fd_ = -1;
  bool failed_ = false;
  std::string lastError_;
  int converterMode_ = kSemiAutomaticConverter;
  std::string portName_ = "COM1";
  LineSettings settings_;
  LineTimeouts timeouts_;
};

}  // namespace zelmot::link
