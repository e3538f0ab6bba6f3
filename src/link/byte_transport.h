#pragma once
// What the device protocol needs of a line: open and close it, exchange one frame for one
// reply within the reply deadline of its line settings (ended early by stop_event), and
// the line settings themselves. The serial port is one transport; a scripted memory
// transport is another, for tests and fuzzing without a terminal or a clock.
#include <array>
#include <cstddef>
#include <string>

#include "link/frame_codec.h"
#include "link/line_settings.h"
#include "link/link_results.h"
#include "platform/event.h"

namespace zelmot::link {

using ReplyBuffer = std::array<char, kReplyBufferSize>;

class ByteTransport {
public:
  virtual ~ByteTransport() = default;

  // An open transport is closed first.
  virtual OpenResult open_port() = 0;
  virtual CloseResult close_port() = 0;
  // Writes the frame and waits for a reply ending in a carriage return (at most 29
  // characters, the CR last). Once stop_event is set every exchange ends at once, Aborted.
  virtual ExchangeResult port_exchange(const char* frame, size_t count, ReplyBuffer& reply,
                                       size_t& replyCount) = 0;
  // Manual-reset; set once at shutdown.
  virtual Event& stop_event() = 0;

  virtual bool isOpen() const = 0;
  virtual bool hasFailed() const = 0;         // gone since it opened (unplugged adapter)
  virtual std::string lastErrorText() const = 0;  // the system's text of the last failure
  virtual int lastError() const = 0;          // its errno, 0 when none
  // True once an open found that the line cannot drive RTS (a pseudo-terminal): a
  // semi-automatic converter is then served like an automatic one.
  virtual bool rtsUnavailable() const = 0;

  virtual void setPortName(const std::string& name) = 0;
  virtual std::string portName() const = 0;
  virtual std::string portPath() const = 0;  // the path the name maps to
  virtual void setLineSettings(const LineSettings& settings) = 0;
  virtual LineSettings lineSettings() const = 0;
  virtual void setConverterMode(ConverterMode mode) = 0;
  virtual ConverterMode converterMode() const = 0;
};

}  // namespace zelmot::link
