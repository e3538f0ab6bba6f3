#include "fault_injector.h"

#include "link/frame_codec.h"

namespace zelmot::sim {

FaultInjector::FaultInjector(const FaultOptions& options)
    : options_(options), random_(options.seed) {}

bool FaultInjector::chance(double percent) {
  if (percent <= 0) return false;
  if (percent >= 100) return true;
  return std::uniform_real_distribution<double>(0.0, 100.0)(random_) < percent;
}

FaultInjector::Fate FaultInjector::onRequest() {
  ++requests_;
  if (options_.silentAfter && requests_ > *options_.silentAfter) return Fate::Silent;
  if (options_.hangupAfter && requests_ >= *options_.hangupAfter) return Fate::AnswerThenHangUp;
  return Fate::Answer;
}

bool FaultInjector::keepReply() { return !chance(options_.dropRepliesPercent); }

uint16_t FaultInjector::replyCommand(uint16_t command, uint16_t requestCommand) {
  if (!chance(options_.foreignCodePercent)) return command;
  uint16_t foreign = static_cast<uint16_t>(requestCommand ^ 0x5A5A);
  if (foreign == link::kErrorReplyCode) foreign ^= 0x0101;
  return foreign;
}

void FaultInjector::spoilFrame(std::string& lineFrame) {
  // The last character before the carriage return is the checksum's low nibble.
  if (lineFrame.size() >= 3 && chance(options_.corruptChecksumsPercent)) {
    char& nibble = lineFrame[lineFrame.size() - 2];
    nibble = nibble == 'V' ? 'G' : static_cast<char>(nibble + 1);
  }
  if (!lineFrame.empty() && lineFrame.front() == link::kFrameStart &&
      chance(options_.noStartPercent)) {
    lineFrame.erase(0, 1);
  }
}

}  // namespace zelmot::sim
