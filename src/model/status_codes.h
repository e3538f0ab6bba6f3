#pragma once
// Status codes a device sends in place of a value: a measured value whose first byte has
// its upper four bits set, or a key/program state whose first byte is 0xF0..0xFF.
#include <cstdint>
#include <string>

namespace zelmot::model {

inline bool isStatusCode(uint8_t firstByte) { return (firstByte & 0xF0) == 0xF0; }

// Text of a measured-value status code (0xF0..0xFF). The set-point parameter words codes
// 250 and 251 its own way.
std::string measuredStatusText(uint8_t code, bool isSetPoint);

// Text of a key or program state status code (0xF0..0xFF).
std::string stateStatusText(uint8_t code);

// Text of a computing-block error sub-code; unknown sub-codes give an empty text.
std::string computingBlockErrorText(uint8_t subCode);

}  // namespace zelmot::model
