// 1000 request/reply exchanges over a pseudo-terminal with a device that answers at once:
// through transact_frame, and with bare write/poll/read on the same line. Prints both
// medians and their ratio; exits 0 only when every exchange succeeded (a link self-test).
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "link/device_protocol.h"
#include "scripted_device.h"

namespace {

using namespace zelmot::link;
using testing::deviceReply;
using testing::PtyPair;
using testing::ScriptedDevice;
using Clock = std::chrono::steady_clock;

constexpr int kExchanges = 1000;
constexpr int kRounds = 5;  // the two ways take turns, so that a change in load hits both
constexpr int kPerRound = kExchanges / kRounds;
constexpr uint16_t kCommand = 0xE894;

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
  link.port().setConverterMode(ConverterMode::Automatic);
  link.port().setLineSettings({115200, Parity::NoneUnchecked, 8, 1});
  if (link.port().open_port() != OpenResult::Ok) {
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

int main() try {
  PtyPair pty;
  std::vector<double> linkSamples, bareSamples;
  int linkOk = 0, bareOk = 0;
  {
    // Answers every frame with the same reply.
    const std::string reply = deviceReply(kCommand, {0x12, 0x34});
    ScriptedDevice device(pty, [&reply](const Request&, const std::string&) { return reply; });
    RequestFields fields;
    fields.address = 16;
    fields.command = kCommand;
    std::string request, error;
    build_request(fields, request, error);
    for (int round = 0; round < kRounds; ++round) {
      linkOk += throughLink(pty.slavePath(), linkSamples);
      bareOk += bare(pty.slavePath(), request, bareSamples);
    }
  }

  const double linkMedian = linkSamples.empty() ? 0 : medianUs(linkSamples);
  const double bareMedian = bareSamples.empty() ? 0 : medianUs(bareSamples);
  const bool allGood = linkOk == kExchanges && bareOk == kExchanges;
  std::printf("link self-test: %s; transact_frame %d/%d, median %.1f us; bare %d/%d, median %.1f us; "
              "ratio %.2f\n",
              allGood ? "ok" : "FAILED", linkOk, kExchanges, linkMedian, bareOk, kExchanges,
              bareMedian, bareMedian > 0 ? linkMedian / bareMedian : 0.0);
  return allGood ? 0 : 1;
} catch (const std::runtime_error& e) {
  std::fprintf(stderr, "%s\n", e.what());
  return 1;
}
