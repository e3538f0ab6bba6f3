#pragma once
// Serves the device on its line: waits (poll, no busy loop) for bytes or for the stop
// descriptor, cuts frames, answers the ones addressed to the device, applies the faults
// asked for and, with pacing, holds each reply back for the wire time of request and reply
// plus the turnaround.
#include <chrono>
#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fault_injector.h"
#include "link/frame_codec.h"
#include "frame_log.h"
#include "frame_splitter.h"
#include "sim_device.h"
#include "sim_line.h"
#include "sim_options.h"

namespace zelmot::sim {

// How long a paced reply is held back: the request and the reply on the wire at the line's
// speed and framing, plus the device's turnaround.
double pacedReplyDelayMs(const NetworkSettings& line, size_t requestChars, size_t replyChars,
                         double turnaroundMs);

class SimServer {
public:
  enum class Outcome { Stopped, HungUp, LineLost };

  // `log` may be null (no trace). The device and the line must outlive the server.
  SimServer(const SimOptions& options, SimDevice& device, SimLine& line, std::ostream* log);

  // Serves until `stopFd` polls readable (Stopped), a fault closes the line (HungUp) or the
  // line goes away (LineLost).
  Outcome run(int stopFd);

  // Handles one complete line frame; the reply, if any, is queued. Used by run().
  void handleFrame(const std::string& lineFrame);

private:
  using Clock = std::chrono::steady_clock;
  struct PendingReply {
    Clock::time_point due;
    std::string frame;
  };

  void answer(const link::Request& request, DeviceReply reply, int addressLength,
              size_t requestChars);
  void queueReply(const std::string& frame, size_t requestChars);
  bool sendDueReplies(Clock::time_point now);
  // Time until the next due reply (or the hang-up), nullopt to wait without limit.
  std::optional<Clock::duration> nextWakeUp(Clock::time_point now,
                                            std::optional<Clock::time_point> hangUpAt) const;
  void applyLineSettings();
  Outcome hangUp();

  SimOptions options_;
  SimDevice& device_;
  SimLine& line_;
  FrameLog log_;
  FrameSplitter splitter_;
  FaultInjector faults_;
  std::deque<PendingReply> pending_;
  NetworkSettings lineSettings_;
  bool hangUpRequested_ = false;
};

}  // namespace zelmot::sim
