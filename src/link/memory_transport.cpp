#include "link/memory_transport.h"

#include <algorithm>

#include "link/reply_collector.h"
#include "platform/os_error.h"

namespace zelmot::link {

OpenResult MemoryTransport::open_port() {
  ++opens_;
  if (openError_ != 0) {
    open_ = false;
    lastError_ = openError_;
    lastErrorText_ = osErrorText(openError_);
    return OpenResult::NotOpened;
  }
  open_ = true;
  return OpenResult::Ok;
}

CloseResult MemoryTransport::close_port() {
  if (!open_) return CloseResult::NotOpen;
  open_ = false;
  return CloseResult::Closed;
}

MemoryAnswer MemoryTransport::nextAnswer(const std::string& frame) {
  if (!queued_.empty()) {
    MemoryAnswer next = std::move(queued_.front());
    queued_.pop_front();
    return next;
  }
  return script_ ? script_(frame) : MemoryAnswer::silence();
}

ExchangeResult MemoryTransport::port_exchange(const char* frame, size_t count,
                                              ReplyBuffer& reply, size_t& replyCount) {
  replyCount = 0;
  reply.fill(0);
  if (stopEvent_.isSet() || !open_) return ExchangeResult::Aborted;
  framesSent_.emplace_back(frame, count);
  const MemoryAnswer answer = nextAnswer(framesSent_.back());
  if (answer.outcome) {
    replyCount = std::min(answer.bytes.size(), reply.size());
    std::copy_n(answer.bytes.begin(), replyCount, reply.begin());
    return *answer.outcome;
  }
  // A script may set stop_event to stand for a shutdown during the wait.
  if (stopEvent_.isSet()) return ExchangeResult::Aborted;
  ReplyCollector collector;
  const auto outcome =
      collectReply(collector, answer.bytes.data(), answer.bytes.size(), reply, replyCount);
  return outcome ? *outcome : ExchangeResult::NoReply;
}

}  // namespace zelmot::link
