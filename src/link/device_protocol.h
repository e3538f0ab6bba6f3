#pragma once
// The single door to the device: one request frame with bounded retries and validation
// (transact_frame), the read or write of one parameter with its protective attributes
// (exchange_parameter), and the port configuration from the program's port settings.
// It talks to the line through a byte transport: the serial port, or a memory transport.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "link/exchange_retries.h"
#include "link/byte_transport.h"
#include "link/frame_codec.h"
#include "link/frame_trace.h"
#include "link/link_parameter.h"
#include "link/link_results.h"
#include "link/log_sink.h"
#include "link/port_settings.h"
#include "link/serial_port.h"
#include "platform/fair_mutex.h"
#include "platform/user_prompt.h"

namespace zelmot::link {

// The caption of the message about a port that does not open.
inline constexpr const char* kOpenFailedCaption = "Ошибка драйвера последовательного порта";

struct FrameReply {
  std::array<uint8_t, kMaxFrameData> data{};
  uint8_t length = 0;
};

class DeviceProtocol {
public:
  // Over a serial port.
  explicit DeviceProtocol(ComPortMapper mapper = {});
  explicit DeviceProtocol(std::unique_ptr<ByteTransport> transport);
  virtual ~DeviceProtocol();
  DeviceProtocol(const DeviceProtocol&) = delete;
  DeviceProtocol& operator=(const DeviceProtocol&) = delete;

  ByteTransport& port() { return *port_; }
  const ByteTransport& port() const { return *port_; }

  // One request and its reply. addressOffset is added to the base address; -1 means
  // address 255. Returns 1 on success, 0 on failure with the reason in errorText (left
  // as it was for an n.Err reply whose code has no text). The reply is delivered also
  // when the device answered with another command code (an n.Err reply included).
  int transact_frame(int requestFlag, uint16_t command, const uint8_t* data, size_t dataLength,
                     FrameReply& reply, std::string& errorText, int addressOffset);

  // Reads (requestFlag 1) or writes (0) one parameter. The log, when given, gets the
  // byte-by-byte lines. A closed port is opened for the exchange and closed after it; when
  // it cannot be opened nothing is sent: Failed, with openFailureText() as the error text.
  ParameterResult exchange_parameter(int requestFlag, LinkParameter& parameter, LogSink* log);

  // Copies the attached port-settings node into the port and the addressing settings.
  // Without a node nothing changes.
  void load_port_settings();
  // close, load, open. NotOpened also when the port is to be kept closed; a failed open
  // is shown through the attached prompt unless messages are suppressed.
  OpenResult reopen_port();

  // "Неудается открыть порт COM1 (/dev/ttyS0): <the system's reason>. Связь с сетью
  // отсутствует. ..." after a failed open, with a hint about the dialout group when
  // access was denied.
  std::string openFailureText() const;
  // The last exchange_parameter found the port closed and could not open it: "no link"
  // rather than a failed parameter.
  bool portOpenFailed() const { return portOpenFailed_; }

  // The semi-automatic converter is chosen but the port cannot drive RTS: frames go out
  // whole, as for an automatic converter (said once in the trace).
  bool semiAutomaticConverterUnusable() const;

  // "Порт COM1 (/dev/ttyS0), 9600 бод, ..." with parity, bits, address and converter:
  // shown beside a time-out (never inside the error text).
  std::string describeLineSettings() const;

  // Wiring, done by the owner before other threads use the link.
  void setPortSettingsSource(PortSettingsSource* source) { settingsSource_ = source; }
  void setUserPrompt(UserPrompt* prompt) { prompt_ = prompt; }
  void setFrameTrace(FrameTrace trace);

  // Settings read by every exchange; any thread may change them.
  void setAddressLength(int length) { addressLength_ = length; }
  int addressLength() const { return addressLength_; }
  void setBaseAddress(int address) { baseAddress_ = address; }
  int baseAddress() const { return baseAddress_; }
  void setAttributeWritePermission(bool on) { attributeWritePermission_ = on; }
  bool attributeWritePermission() const { return attributeWritePermission_; }
  void setNoDeviceExchange(bool on) { noDeviceExchange_ = on; }
  bool noDeviceExchange() const { return noDeviceExchange_; }
  void setNoAttributeTransfer(bool on) { noAttributeTransfer_ = on; }
  bool noAttributeTransfer() const { return noAttributeTransfer_; }
  void setKeepPortClosed(bool on) { keepPortClosed_ = on; }
  bool keepPortClosed() const { return keepPortClosed_; }
  void setSuppressMessages(bool on) { suppressMessages_ = on; }
  bool suppressMessages() const { return suppressMessages_; }

protected:
  // After the port settings were loaded: the derived link clears its own marks here.
  virtual void portSettingsLoaded() {}

private:
  bool exchangeUnderLock(const std::string& frame, ReplyBuffer& chars, size_t& count,
                         std::string& errorText);
  void trace(TraceEvent::Kind kind, std::string text,
             ExchangeResult exchangeResult = ExchangeResult::Done);
  void traceConverterNotice();
  void traceFailure(ExchangeResult lastResult);
  bool attributeExchangeDue(const LinkParameter& parameter) const;
  ParameterResult exchangeAttributes(int requestFlag, LinkParameter& parameter,
                                     std::string& errorText);
  ParameterResult exchangeValue(int requestFlag, LinkParameter& parameter, LogSink* log);
  enum class TemporaryOpen { NotNeeded, Opened, Failed };
  TemporaryOpen openForExchange();
  void closeAfterExchange();

  std::unique_ptr<ByteTransport> port_;
  std::atomic<int> addressLength_{8};
  std::atomic<int> baseAddress_{16};
  std::atomic<bool> attributeWritePermission_{false};
  std::atomic<bool> noDeviceExchange_{false};
  std::atomic<bool> noAttributeTransfer_{false};
  std::atomic<bool> keepPortClosed_{false};
  std::atomic<bool> suppressMessages_{false};
  std::atomic<bool> portOpenFailed_{false};
  PortSettingsSource* settingsSource_ = nullptr;
  UserPrompt* prompt_ = nullptr;

  // One whole frame exchange with its retries at a time, taken in the order of asking so
  // that polling and bulk tasks share the line.
  FairMutex requestLock_;
  FrameTrace trace_;        // under requestLock_
  bool converterNoticeGiven_ = false;  // under requestLock_

  std::mutex temporaryOpenLock_;
  int temporaryOpenUsers_ = 0;  // exchanges running on a port they opened themselves
};

}  // namespace zelmot::link
