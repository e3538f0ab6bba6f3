#include "cli/single_exchange_status.h"

#include "cli/exit_codes.h"
#include "exchange/exchange_engine.h"
#include "exchange/exchange_texts.h"

namespace zelmot::cli {

int singleExchangeStatus(const exchange::ExchangeEngine& engine, bool failed,
                         const std::string& lastErrorText) {
  if (!failed) return kExitOk;
  if (engine.linkLost() || lastErrorText == exchange::kTimeoutText) return kExitNoLink;
  return kExitFailures;
}

}  // namespace zelmot::cli
