#include "link/exchange_retries.h"

#include "link/frame_codec.h"

namespace zelmot::link {

ExchangeRetries::Verdict ExchangeRetries::judge(ExchangeResult exchangeResult, const char* reply,
                                                size_t replyCount, std::string& errorText) {
  if (exchangeResult == ExchangeResult::NoReply) {
    if (timeouts_++ < kTimeoutRetries) return Verdict::Retry;
    errorText = kTimeoutText;
    return Verdict::Fail;
  }
  if (exchangeResult == ExchangeResult::LineError) {
    if (lineErrors_++ < kLineErrorRetries) return Verdict::Retry;
    errorText = kLineErrorText;
    return Verdict::Fail;
  }
  // Any other outcome, an aborted one included, stands or falls by its start character.
  if (replyCount >= 2 && reply[0] == kFrameStart) return Verdict::Accept;
  if (lostStarts_++ < kLostStartRetries) return Verdict::Retry;
  errorText = kLostStartText;
  return Verdict::Fail;
}

}  // namespace zelmot::link
