#pragma once
// The single door to the device: one request frame with bounded retries and validation
// (transact_frame), the read or write of one parameter with its protective attributes
// (exchange_parameter), and the port configuration from the program's port settings.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "link/exchange_retries.h"
#include "link/frame_codec.h"
#include "link/frame_trace.h"
#include "link/link_parameter.h"
#include "link/log_sink.h"
#include "link/port_settings.h"
#include "link/serial_port.h"
#include "platform/user_prompt.h"

namespace zelmot::link {

// Results of exchange_parameter.
inline constexpr int kParameterOk = 0;
inline constexpr int kParameterFailed = 1;
inline constexpr int kParameterNotDecoded = 2;
inline constexpr int kParameterNoEncoding = 3;
inline constexpr int kParameterNotEncodable = 4;
inline constexpr int kAttributeExchangeFailed = 200;
inline constexpr int kAttributeReplySize = 201;

struct FrameReply {
  std::array<uint8_t, kMaxFrameData> data{};
  uint8_t length = 0;
};

class DeviceProtocol {
public:
  explicit DeviceProtocol(ComPortMapper mapper = {});
  virtual ~DeviceProtocol();
  DeviceProtocol(const DeviceProtocol&) = delete;
  DeviceProtocol& operator=(const DeviceProtocol&) = delete;

  SerialPort& port() { return port_; }

  // One request and its reply. addressOffset is added to the base address; -1 means
  // address 255. Returns 1 on success, 0 on failure with the reason in errorText (left
  // as it was for an n.Err reply whose code has no text). The reply is delivered also
  // when the device answered with another command code (an n.Err reply included).
  int transact_frame(int requestFlag, uint16_t command, const uint8_t* data, size_t dataLength,
                     FrameReply& reply, std::string& errorText, int addressOffset);

  // Reads (requestFlag 1) or writes (0) one parameter; results kParameter* and
  // kAttribute* above. The log, when given, gets the byte-by-byte lines.
  int exchange_parameter(int requestFlag, LinkParameter& parameter, LogSink* log);

  // Copies the attached port-settings node into the port and the addressing settings.
  // Without a node nothing changes.
  void load_port_settings();
  // close, load, open. -1 also when the port is to be kept closed; a failed open is
  // shown through the attached prompt unless messages are suppressed.
  int reopen_port();

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
  void trace(TraceEvent::Kind kind, std::string text, int exchangeResult = 0);
  void traceFailure(int lastResult);
  bool attributeExchangeDue(const LinkParameter& parameter) const;
  int exchangeAttributes(int requestFlag, LinkParameter& parameter, std::string& errorText);
  int exchangeValue(int requestFlag, LinkParameter& parameter, LogSink* log);
  bool openForExchange();
  void closeAfterExchange();

  SerialPort port_;
  std::atomic<int> addressLength_{8};
  std::atomic<int> baseAddress_{16};
  std::atomic<bool> attributeWritePermission_{false};
  std::atomic<bool> noDeviceExchange_{false};
  std::atomic<bool> noAttributeTransfer_{false};
  std::atomic<bool> keepPortClosed_{false};
  std::atomic<bool> suppressMessages_{false};
  PortSettingsSource* settingsSource_ = nullptr;
  UserPrompt* prompt_ = nullptr;

  std::mutex requestLock_;  // one whole frame exchange with its retries at a time
  FrameTrace trace_;        // under requestLock_

  std::mutex temporaryOpenLock_;
  int temporaryOpenUsers_ = 0;  // exchanges running on a port they opened themselves
};

}  // namespace zelmot::link
