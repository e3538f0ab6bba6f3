#pragma once
// The engine's view of one transaction, stricter than the device protocol's: a read whose
// reply the parameter's type cannot decode is a failure (the value stays, the reason goes
// to the error text), and a failure never leaves the error text empty (an error code the
// catalogue lacks is named by its number).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/link_parameter.h"

namespace zelmot::exchange {

inline constexpr const char* kUnknownDeviceErrorFormat = "Код ошибки прибора 0x%02X";
inline constexpr const char* kDeviceErrorWithoutCodeText = "Прибор ответил ошибкой без кода";

// The transaction itself (the device protocol's exchange_parameter, or a test's script);
// it returns the protocol's result code.
using RawExchange = std::function<int(link::LinkParameter& parameter)>;

int checkedExchange(bool read, link::LinkParameter& parameter, const RawExchange& exchange);

// The text for a failed transaction that left no error text: the first byte of the error
// reply is the device's code. Empty when the catalogue has a text for the code on purpose
// left out (a graph node beyond the last one is no error).
std::string uncataloguedErrorText(const std::vector<uint8_t>& reply);

}  // namespace zelmot::exchange
