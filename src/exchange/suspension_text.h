#pragma once
// The warning shown when consecutive read time-outs suspend the exchange.
#include <string>

namespace zelmot::exchange {

// `autoReadingWasOn` adds the sentence saying automatic reading has been switched off.
std::string suspensionText(int failures, bool autoReadingWasOn);

}  // namespace zelmot::exchange
