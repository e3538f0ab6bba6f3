// Arbitrary bytes as device replies, request frames and raw terminal input. Beyond memory
// safety it checks that whatever is accepted as sound is exactly what the codec builds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/frame_codec.h"
#include "link/reply_collector.h"

namespace {

using namespace zelmot::link;

void check(bool condition) {
  if (!condition) std::abort();
}

void checkRequestRoundTrip(const std::string& line, int addressLength) {
  const Request request = read_request(line.data(), line.size(), addressLength);
  if (request.verdict != FrameVerdict::Good) return;
  RequestFields fields;
  fields.address = request.address;
  fields.addressLength = addressLength;
  fields.requestFlag = request.requestFlag;
  fields.command = request.command;
  fields.data = request.data.data();
  fields.dataLength = request.length;
  std::string rebuilt, error;
  check(build_request(fields, rebuilt, error));
  // With 8-bit addressing the top three bits of the second byte are not part of the
  // address, so only frames with them clear must come back unchanged.
  const bool topBitsClear = ((line[3] - kNibbleBase) >> 1) == 0;
  if (addressLength == 11 || topBitsClear) check(rebuilt == line);
}

void checkReply(const char* chars, size_t count) {
  const Reply reply = read_reply(chars, count);
  if (reply.verdict == FrameVerdict::Good) check(reply.length <= 7);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<char> raw(data, data + size);
  checkReply(raw.data(), raw.size());

  std::vector<uint8_t> decoded(size / 2 + 1);
  decode_buffer(raw.data(), raw.size(), decoded.data());

  // The same bytes as line characters, so that the checksum paths are reached too.
  std::string line = "#";
  for (size_t i = 1; i < size; ++i) line += static_cast<char>(kNibbleBase + (data[i] & 0x0F));
  line += kFrameEnd;
  checkReply(line.data(), line.size());
  checkRequestRoundTrip(line, 8);
  checkRequestRoundTrip(line, 11);
  checkRequestRoundTrip(std::string(raw.begin(), raw.end()), size > 0 && data[0] & 1 ? 11 : 8);

  // Raw terminal input split into reads at the positions the first byte suggests.
  ReplyCollector collector;
  const size_t step = size > 0 ? (data[0] % 7) + 1 : 1;
  for (size_t at = 0; at < size; at += step) {
    const size_t n = at + step <= size ? step : size - at;
    if (collector.feed(raw.data() + at, n) == ReplyCollector::State::Complete) {
      check(collector.count() >= 1 && collector.count() <= kReplyBufferSize);
      break;
    }
  }
  return 0;
}
