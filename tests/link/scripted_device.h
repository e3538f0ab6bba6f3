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

namespace zelmot::link::testing {

// A pseudo-terminal pair; the slave path is what the port under test opens. The pair
// keeps a slave descriptor of its own so that the master never sees a hang-up while the
// port is closed between exchanges.
class PtyPair {
public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }
  // Hangs up the line as an unplugged adapter would.
  void closeMasterAndSlave();

private:
  int master_ = -1;
  int slaveKeeper_ = -1;
  std::string slavePath_;
};

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
