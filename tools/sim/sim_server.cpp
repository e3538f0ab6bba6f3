#include "sim_server.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "link/frame_codec.h"
#include "link/line_timing.h"

namespace zelmot::sim {
namespace {

constexpr size_t kReadChunk = 256;
constexpr int kHangUpDrainMs = 500;
constexpr std::chrono::milliseconds kHangUpGrace{300};

}  // namespace

SimServer::SimServer(const SimOptions& options, SimDevice& device, SimLine& line,
                     std::ostream* log)
    : options_(options),
      device_(device),
      line_(line),
      log_(log, device.store()),
      faults_(options.faults),
      lineSettings_(device.network()) {}

void SimServer::handleFrame(const std::string& lineFrame) {
  const int addressLength = device_.network().addressLength;
  const link::Request request = link::read_request(lineFrame.data(), lineFrame.size(), addressLength);
  if (request.verdict != link::FrameVerdict::Good) {
    device_.noteLineError();
    log_.damaged(lineFrame);
    return;
  }
  const SimDevice::Audience audience = device_.audience(request.address);
  const bool broadcast = audience == SimDevice::Audience::Broadcast;
  const char* note = audience == SimDevice::Audience::Other ? "(not for this device)"
                     : broadcast                              ? "(broadcast)"
                                                              : "";
  log_.request(request.address, request.requestFlag, request.command, request.data.data(),
               request.length, note);
  if (audience == SimDevice::Audience::Other) return;
  const FaultInjector::Fate fate = faults_.onRequest();
  if (fate == FaultInjector::Fate::Silent) {
    log_.note("silent: no reply");
    return;
  }
  if (fate == FaultInjector::Fate::AnswerThenHangUp) hangUpRequested_ = true;

  DeviceReply reply;
  if (faults_.options().errorCode) {
    reply = {link::kErrorReplyCode, {*faults_.options().errorCode}};
  } else {
    reply = device_.handle({request.address, request.requestFlag, request.command,
                            {request.data.begin(), request.data.begin() + request.length}});
  }
  if (broadcast) return;  // acted on, never answered
  answer(request, reply, addressLength, lineFrame.size());
}

void SimServer::answer(const link::Request& request, DeviceReply reply, int addressLength,
                       size_t requestChars) {
  if (!faults_.keepReply()) {
    log_.note("reply dropped");
    return;
  }
  reply.command = faults_.replyCommand(reply.command, request.command);
  link::RequestFields fields;
  fields.address = request.address;
  fields.addressLength = addressLength;  // the addressing of the request, even after APLY
  fields.requestFlag = 0;
  fields.command = reply.command;
  fields.data = reply.data.data();
  fields.dataLength = reply.data.size();
  std::string frame;
  std::string error;
  if (!link::build_request(fields, frame, error)) {
    log_.note("reply not built: " + error);
    return;
  }
  faults_.spoilFrame(frame);
  log_.reply(request.address, reply.command, reply.data, "");
  queueReply(frame, requestChars);
}

double pacedReplyDelayMs(const NetworkSettings& line, size_t requestChars, size_t replyChars,
                         double turnaroundMs) {
  const double charMs =
      link::computeLineTimeouts(line.baud, line.parity != Parity::None, line.stopBits == 2)
          .charTime;
  return charMs * static_cast<double>(requestChars + replyChars) + turnaroundMs;
}

void SimServer::queueReply(const std::string& frame, size_t requestChars) {
  Clock::time_point due = Clock::now();
  if (options_.pace) {
    const double delayMs =
        pacedReplyDelayMs(device_.network(), requestChars, frame.size(), options_.turnaroundMs);
    due += std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double, std::milli>(delayMs));
  }
  pending_.push_back({due, frame});
}

bool SimServer::sendDueReplies(Clock::time_point now) {
  while (!pending_.empty() && pending_.front().due <= now) {
    if (!line_.writeAll(pending_.front().frame)) return false;
    pending_.pop_front();
  }
  return true;
}

std::optional<SimServer::Clock::duration> SimServer::nextWakeUp(
    Clock::time_point now, std::optional<Clock::time_point> hangUpAt) const {
  std::optional<Clock::time_point> due = hangUpAt;
  if (!due && !pending_.empty()) due = pending_.front().due;
  if (!due) return std::nullopt;
  return std::max<Clock::duration>(Clock::duration::zero(), *due - now);
}

// New line settings take effect after APLY; the reply to it still went out with the old.
void SimServer::applyLineSettings() {
  if (device_.network() == lineSettings_) return;
  lineSettings_ = device_.network();
  std::string error;
  if (!line_.applySettings(lineSettings_, error)) log_.note("line settings not applied: " + error);
}

// Closing the master discards what the host has not read yet, so the line closes only
// once the host comes back with its next request, or after a grace period, and then only
// when the last reply has been read.
SimServer::Outcome SimServer::hangUp() {
  log_.note("closing the line");
  line_.drain(kHangUpDrainMs);
  line_.hangUp();
  return Outcome::HungUp;
}

SimServer::Outcome SimServer::run(int stopFd) {
  char buffer[kReadChunk];
  std::vector<std::string> frames;
  std::optional<Clock::time_point> hangUpAt;
  while (true) {
    if (!sendDueReplies(Clock::now())) return Outcome::LineLost;
    if (pending_.empty()) {
      if (hangUpRequested_ && !hangUpAt) hangUpAt = Clock::now() + kHangUpGrace;
      applyLineSettings();
    }
    // Paced replies are due to a fraction of a millisecond: ppoll keeps that precision
    // where poll would round every wait up to a whole millisecond.
    const std::optional<Clock::duration> wait = nextWakeUp(Clock::now(), hangUpAt);
    timespec waitSpec{};
    if (wait) {
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(*wait).count();
      waitSpec.tv_sec = static_cast<time_t>(ns / 1000000000);
      waitSpec.tv_nsec = static_cast<long>(ns % 1000000000);
    }
    pollfd fds[2] = {{line_.fd(), POLLIN, 0}, {stopFd, POLLIN, 0}};
    const int ready = ppoll(fds, 2, wait ? &waitSpec : nullptr, nullptr);
    if (ready < 0 && errno != EINTR) return Outcome::LineLost;
    if (fds[1].revents != 0) return Outcome::Stopped;
    if (fds[0].revents & POLLNVAL) return Outcome::LineLost;
    if (hangUpAt && (fds[0].revents != 0 || Clock::now() >= *hangUpAt)) return hangUp();
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      const long n = line_.readSome(buffer, sizeof buffer);
      if (n < 0) return Outcome::LineLost;
      if (n == 0 && (fds[0].revents & (POLLHUP | POLLERR))) return Outcome::LineLost;
      frames.clear();
      const size_t dropped = splitter_.feed(buffer, static_cast<size_t>(n), frames);
      for (size_t i = 0; i < dropped; ++i) device_.noteLineError();
      for (const std::string& frame : frames) handleFrame(frame);
    }
  }
}

}  // namespace zelmot::sim
