#include "scripted_device.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>

namespace zelmot::link::testing {

ScriptedDevice::ScriptedDevice(PtyPair& pty, DeviceScript script, int addressLength)
    : pty_(pty), script_(std::move(script)), addressLength_(addressLength) {
  thread_ = std::thread([this] { run(); });
}

ScriptedDevice::~ScriptedDevice() { stop(); }

void ScriptedDevice::stop() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

std::vector<Request> ScriptedDevice::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void ScriptedDevice::run() {
  std::string line;
  while (!stopping_) {
    const int master = pty_.master();
    if (master < 0) return;
    pollfd fd{master, POLLIN, 0};
    if (::poll(&fd, 1, 5) <= 0) continue;
    if ((fd.revents & POLLIN) == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    char chunk[256];
    const ssize_t got = ::read(master, chunk, sizeof chunk);
    if (got <= 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    for (ssize_t i = 0; i < got; ++i) {
      line += chunk[i];
      if (chunk[i] != '\r') continue;
      const Request request = read_request(line.data(), line.size(), addressLength_);
      {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
      }
      ++framesReceived_;
      const std::string answer = script_(request, line);
      if (!answer.empty()) {
        [[maybe_unused]] const ssize_t written = ::write(master, answer.data(), answer.size());
      }
      line.clear();
    }
  }
}

std::string deviceReply(uint16_t command, const std::vector<uint8_t>& data) {
  RequestFields fields;
  fields.address = 16;
  fields.requestFlag = 0;
  fields.command = command;
  fields.data = data.data();
  fields.dataLength = data.size();
  std::string frame, error;
  build_request(fields, frame, error);
  return frame;
}

}  // namespace zelmot::link::testing
