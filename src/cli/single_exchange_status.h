#pragma once
// The exit status of a command made of single exchanges (clock, graph): the device that
// did not answer at all is "no link", anything else that failed is "some failed".
#include <string>

namespace zelmot::exchange {
class ExchangeEngine;
}

namespace zelmot::cli {

int singleExchangeStatus(const exchange::ExchangeEngine& engine, bool failed,
                         const std::string& lastErrorText);

}  // namespace zelmot::cli
