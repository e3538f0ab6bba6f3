#pragma once
// A device on the master side of a pseudo-terminal: collects request frames up to the
// carriage return and answers each with whatever the test's script returns.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/frame_codec.h"
#include "support/pty_pair.h"

namespace zelmot::link::testing {

using test_support::PtyPair;

// The answer to one request: the characters to send back (empty = stay silent).
using DeviceScript = std::function<std::string(const Request& request, const std::string& line)>;

class ScriptedDevice {
public:
  ScriptedDevice(PtyPair& pty, DeviceScript script, int addressLength = 8);
  ~ScriptedDevice();

  int framesReceived() const { return framesReceived_; }
  std::vector<Request> requests() const;
  void stop();

private:
  void run();

  PtyPair& pty_;
  DeviceScript script_;
  int addressLength_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> framesReceived_{0};
  mutable std::mutex mutex_;
  std::vector<Request> requests_;
  std::thread thread_;
};

// A reply frame as a device sends it.
std::string deviceReply(uint16_t command, const std::vector<uint8_t>& data);

}  // namespace zelmot::link::testing
