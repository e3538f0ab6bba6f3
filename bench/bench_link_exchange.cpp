// 1000 request/reply exchanges over a pseudo-terminal with a device that answers at once:
// through transact_frame, and with bare write/poll/read on the same line. Prints both
// medians and their ratio; exits 0 only when every exchange succeeded (a link self-test).
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "link/device_protocol.h"

namespace {

using namespace zelmot::link;
using Clock = std::chrono::steady_clock;

constexpr int kExchanges = 1000;
constexpr int kRounds = 5;  // the two ways take turns, so that a change in load hits both
constexpr int kPerRound = kExchanges / kRounds;
constexpr uint16_t kCommand = 0xE894;

std::string frameFor(uint16_t command, const std::vector<uint8_t>& data) {
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

// Answers every frame that ends in a carriage return with the same reply.
class InstantDevice {
public:
  InstantDevice(int master, std::string reply) : master_(master), reply_(std::move(reply)) {
    thread_ = std::thread([this] { run(); });
  }
  ~InstantDevice() {
    stopping_ = true;
    thread_.join();
  }

private:
  void run() {
    char chunk[256];
    while (!stopping_) {
      pollfd fd{master_, POLLIN, 0};
      if (::poll(&fd, 1, 20) <= 0 || (fd.revents & POLLIN) == 0) continue;
      const ssize_t got = ::read(master_, chunk, sizeof chunk);
      for (ssize_t i = 0; i < got; ++i) {
        if (chunk[i] != '\r') continue;
        [[maybe_unused]] const ssize_t written = ::write(master_, reply_.data(), reply_.size());
      }
    }
  }

  int master_;
  std::string reply_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

double medianUs(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

double microsecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

int throughLink(const std::string& path, std::vector<double>& samples) {
  DeviceProtocol link;
  link.port().setPortName(path);
  link.port().setConverterMode(kAutomaticConverter);
  link.port().setLineSettings({115200, 0, 8, 1});
  if (link.port().open_port() != 0) {
    std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), link.port().lastErrorText().c_str());
    return 0;
  }
  int succeeded = 0;
  for (int i = 0; i < kPerRound; ++i) {
    FrameReply reply;
    std::string error;
    const auto start = Clock::now();
    succeeded += link.transact_frame(1, kCommand, nullptr, 0, reply, error, 0);
    samples.push_back(microsecondsSince(start));
  }
  link.port().close_port();
  return succeeded;
}

bool bareRoundTrip(int fd, const std::string& request) {
  if (::write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) return false;
  char chunk[64];
  while (true) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 1000) <= 0) return false;
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got <= 0) return false;
    if (chunk[got - 1] == '\r') return true;
  }
}

int bare(const std::string& path, const std::string& request, std::vector<double>& samples) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return 0;
  termios tio{};
  ::tcgetattr(fd, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(fd, TCSANOW, &tio);
  int succeeded = 0;
  for (int i = 0; i < kPerRound; ++i) {
    const auto start = Clock::now();
    succeeded += bareRoundTrip(fd, request) ? 1 : 0;
    samples.push_back(microsecondsSince(start));
  }
  ::close(fd);
  return succeeded;
}

}  // namespace

int main() {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  char name[128] = {};
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
      ::ptsname_r(master, name, sizeof name) != 0) {
    std::fprintf(stderr, "cannot create a pseudo-terminal\n");
    return 1;
  }
  std::vector<double> linkSamples, bareSamples;
  int linkOk = 0, bareOk = 0;
  {
    InstantDevice device(master, frameFor(kCommand, {0x12, 0x34}));
    RequestFields fields;
    fields.address = 16;
    fields.command = kCommand;
    std::string request, error;
    build_request(fields, request, error);
    for (int round = 0; round < kRounds; ++round) {
      linkOk += throughLink(name, linkSamples);
      bareOk += bare(name, request, bareSamples);
    }
  }
  ::close(master);

  const double linkMedian = linkSamples.empty() ? 0 : medianUs(linkSamples);
  const double bareMedian = bareSamples.empty() ? 0 : medianUs(bareSamples);
  const bool allGood = linkOk == kExchanges && bareOk == kExchanges;
  std::printf("link self-test: %s; transact_frame %d/%d, median %.1f us; bare %d/%d, median %.1f us; "
              "ratio %.2f\n",
              allGood ? "ok" : "FAILED", linkOk, kExchanges, linkMedian, bareOk, kExchanges,
              bareMedian, bareMedian > 0 ? linkMedian / bareMedian : 0.0);
  return allGood ? 0 : 1;
}
