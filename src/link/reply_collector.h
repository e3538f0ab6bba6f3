#pragma once
// Gathers the characters of one reply as the terminal driver hands them over. The port
// is configured to mark line errors in the input stream (0xFF 0x00 c for a character
// received with a parity or framing error, 0xFF 0x00 0x00 for a break, 0xFF 0xFF for a
// genuine 0xFF), so errors arrive in order with the characters and can be told apart.
#include <array>
#include <cstddef>
#include <optional>

#include "link/frame_codec.h"
#include "link/link_results.h"

namespace zelmot::link {

class ReplyCollector {
public:
  enum class State { Incomplete, Complete, LineError };

  // Feeds the bytes of one read. Complete once the carriage return has arrived, even when
  // the same read also carried a line error; LineError when a read brought an error or a
  // break but no carriage return. Bytes after the carriage return are dropped.
  State feed(const char* bytes, size_t count);

  // The first 29 characters up to and including the carriage return.
  const std::array<char, kReplyBufferSize>& chars() const { return chars_; }
  size_t count() const { return count_; }

private:
  enum class Mark { None, Escape, ErrorPrefix };
  void addChar(char c);

  std::array<char, kReplyBufferSize> chars_{};
  size_t count_ = 0;
  Mark mark_ = Mark::None;
  bool complete_ = false;
  bool lineErrorInRead_ = false;
};

// Feeds one read and says what it means for the exchange: Done with the characters copied
// to reply, LineError, or nothing yet while the reply is incomplete.
std::optional<ExchangeResult> collectReply(ReplyCollector& collector, const char* bytes,
                                           size_t count, std::array<char, kReplyBufferSize>& reply,
                                           size_t& replyCount);

}  // namespace zelmot::link
