#include "link/reply_collector.h"

namespace zelmot::link {

ReplyCollector::State ReplyCollector::feed(const char* bytes, size_t count) {
  lineErrorInRead_ = false;
  for (size_t i = 0; i < count && !complete_; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    switch (mark_) {
      case Mark::None:
        if (b == 0xFF) {
          mark_ = Mark::Escape;
        } else {
          addChar(static_cast<char>(b));
        }
        break;
      case Mark::Escape:
        if (b == 0xFF) {
          mark_ = Mark::None;
          addChar(static_cast<char>(b));
        } else {
          // 0xFF 0x00 starts an error mark; anything else cannot follow 0xFF, count it as one.
          mark_ = b == 0x00 ? Mark::ErrorPrefix : Mark::None;
          if (b != 0x00) lineErrorInRead_ = true;
        }
        break;
      case Mark::ErrorPrefix:
        mark_ = Mark::None;
        lineErrorInRead_ = true;
        if (b != 0x00) addChar(static_cast<char>(b));  // 0x00 here is a break
        break;
    }
  }
  if (complete_) return State::Complete;
  return lineErrorInRead_ ? State::LineError : State::Incomplete;
}

void ReplyCollector::addChar(char c) {
  if (count_ < chars_.size()) chars_[count_++] = c;
  if (c == kFrameEnd) complete_ = true;
}

std::optional<ExchangeResult> collectReply(ReplyCollector& collector, const char* bytes,
                                           size_t count, std::array<char, kReplyBufferSize>& reply,
                                           size_t& replyCount) {
  switch (collector.feed(bytes, count)) {
    case ReplyCollector::State::Complete:
      reply = collector.chars();
      replyCount = collector.count();
      return ExchangeResult::Done;
    case ReplyCollector::State::LineError:
      return ExchangeResult::LineError;
    case ReplyCollector::State::Incomplete:
      break;
  }
  return std::nullopt;
}

}  // namespace zelmot::link
