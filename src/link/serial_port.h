#pragma once
// The serial port that leads to the RS-485 line: opened exclusively, configured from the
// line settings, and used for one request/reply exchange at a time. All methods are safe
// to call from several threads; an exchange holds the port for its whole duration (the
// converter mode and the RTS query never wait for it).
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "link/byte_transport.h"
#include "link/line_settings.h"
#include "link/line_timing.h"
#include "link/port_names.h"
#include "platform/event.h"

namespace zelmot::link {

class SerialPort final : public ByteTransport {
public:
  explicit SerialPort(ComPortMapper mapper = {});
  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // NotOpened when the device did not open (also when another program holds it: then
  // lastErrorText() is the text of EBUSY; a file or folder named as the port: ENOTTY or
  // EISDIR). After the other failures the port stays open.
  OpenResult open_port() override;
  // PurgeFailed leaves the port open, unless the device is gone: then it is closed anyway.
  CloseResult close_port() override;

  // Aborted also when the port is closed, or has failed (device gone: later exchanges fail
  // at once until the port is reopened). A reply longer than 29 characters is cut.
  ExchangeResult port_exchange(const char* frame, size_t count, ReplyBuffer& reply,
                               size_t& replyCount) override;

  Event& stop_event() override { return stopEvent_; }

  bool isOpen() const override;
  bool hasFailed() const override;
  std::string lastErrorText() const override;
  int lastError() const override;
  bool rtsUnavailable() const override;

  void setPortName(const std::string& name) override;
  std::string portName() const override;
  std::string portPath() const override;
  void setLineSettings(const LineSettings& settings) override;
  LineSettings lineSettings() const override;
  void setConverterMode(ConverterMode mode) override;
  ConverterMode converterMode() const override;

  float char_time() const;
  uint16_t reply_wait() const;
  LineTimeouts timeouts() const;

private:
  enum class WriteOutcome { Written, TimedOut, Aborted };

  OpenResult configureLocked();
  void closeFdLocked();
  void probeModemLinesLocked();
  void setRtsLocked(bool up);
  bool useKernelRs485Locked(bool on);
  bool writeFrameLocked(const char* frame, size_t count);
  bool writeSwitchedLocked(const char* frame, size_t count);
  bool waitOrStopLocked(double milliseconds);
  WriteOutcome writeAllLocked(const char* data, size_t count, int timeoutMs);
  ExchangeResult awaitReplyLocked(ReplyBuffer& reply, size_t& replyCount);
  void failLocked(int error);
  void rememberErrorLocked(int error);

  const ComPortMapper mapper_;
  Event stopEvent_{Event::Reset::Manual};
  mutable std::mutex mutex_;
  int fd_ = -1;
  bool failed_ = false;
  int lastError_ = 0;
  std::string lastErrorText_;
  // Read without the port lock (the status bar, the converter menu) while an exchange holds it.
  std::atomic<bool> rtsUnavailable_{false};  // the line has no RTS (pseudo-terminal)
  std::atomic<ConverterMode> converterMode_{ConverterMode::SemiAutomatic};
  bool rs485Supported_ = false;     // the driver can switch RTS itself
  bool rs485Preset_ = false;        // ... and was set up to before we opened: left alone
  bool rs485Ours_ = false;          // ... and we asked it to
  std::string portName_ = "COM1";
  LineSettings settings_;
  LineTimeouts timeouts_;
};

}  // namespace zelmot::link
