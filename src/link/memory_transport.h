#pragma once
// A transport without a line: each frame sent is recorded and answered from a script, the
// answer's bytes going through the same reply collector as the serial port's input. No
// clock and no terminal, so the transaction rules can be tested and fuzzed exactly.
// Single-threaded: the script runs inside port_exchange.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/byte_transport.h"

namespace zelmot::link {

struct MemoryAnswer {
  std::string bytes;                      // what the line brings back (empty: silence)
  std::optional<ExchangeResult> outcome;  // forced outcome instead of collecting the bytes

  static MemoryAnswer reply(std::string bytes) { return {std::move(bytes), std::nullopt}; }
  static MemoryAnswer silence() { return {}; }
  static MemoryAnswer ending(ExchangeResult result) { return {{}, result}; }
};

class MemoryTransport final : public ByteTransport {
public:
  using Script = std::function<MemoryAnswer(const std::string& frame)>;

  // Answers queued with answer() go first, in order; then the script (default: silence).
  void answer(MemoryAnswer next) { queued_.push_back(std::move(next)); }
  void setScript(Script script) { script_ = std::move(script); }
  // The next opens fail with this errno (0: they succeed again).
  void failOpensWith(int error) { openError_ = error; }
  void setRtsUnavailable(bool on) { rtsUnavailable_ = on; }

  const std::vector<std::string>& framesSent() const { return framesSent_; }
  int opens() const { return opens_; }

  OpenResult open_port() override;
  CloseResult close_port() override;
  ExchangeResult port_exchange(const char* frame, size_t count, ReplyBuffer& reply,
                               size_t& replyCount) override;
  Event& stop_event() override { return stopEvent_; }

  bool isOpen() const override { return open_; }
  bool hasFailed() const override { return false; }
  std::string lastErrorText() const override { return lastErrorText_; }
  int lastError() const override { return lastError_; }
  bool rtsUnavailable() const override { return rtsUnavailable_; }

  void setPortName(const std::string& name) override { portName_ = name; }
  std::string portName() const override { return portName_; }
  std::string portPath() const override { return portName_; }
  void setLineSettings(const LineSettings& settings) override { settings_ = settings; }
  LineSettings lineSettings() const override { return settings_; }
  void setConverterMode(ConverterMode mode) override { mode_ = mode; }
  ConverterMode converterMode() const override { return mode_; }

private:
  MemoryAnswer nextAnswer(const std::string& frame);

  Event stopEvent_{Event::Reset::Manual};
  std::deque<MemoryAnswer> queued_;
  Script script_;
  std::vector<std::string> framesSent_;
  bool open_ = false;
  int opens_ = 0;
  int openError_ = 0;
  int lastError_ = 0;
  std::string lastErrorText_;
  bool rtsUnavailable_ = false;
  std::string portName_ = "memory";
  LineSettings settings_;
  ConverterMode mode_ = ConverterMode::Automatic;
};

}  // namespace zelmot::link
