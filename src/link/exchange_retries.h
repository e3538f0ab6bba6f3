#pragma once
// The retry rules of one request: three separate budgets (no reply, line error, reply
// without its start character) that never reset each other.
#include <cstddef>
#include <string>

#include "link/link_results.h"

namespace zelmot::link {

inline constexpr int kTimeoutRetries = 3;      // 4 attempts ending without a reply
inline constexpr int kLineErrorRetries = 16;   // 17 attempts ending in a line error
inline constexpr int kLostStartRetries = 15;   // 16 attempts ending without a start

inline constexpr const char* kTimeoutText = "Таймаут при передаче данных (нет связи)";
inline constexpr const char* kLineErrorText = "Неверны настройки порта.";
inline constexpr const char* kLostStartText = "Потеря начала посылки.";

class ExchangeRetries {
public:
  enum class Verdict { Accept, Retry, Fail };

  // Judges one port_exchange outcome; on Fail the error text says why.
  Verdict judge(ExchangeResult exchangeResult, const char* reply, size_t replyCount, std::string& errorText);

private:
  int timeouts_ = 0;
  int lineErrors_ = 0;
  int lostStarts_ = 0;
};

}  // namespace zelmot::link
