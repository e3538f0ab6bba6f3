#pragma once
// Unsigned integers of 1 or 2 bytes, big-endian: plain numbers (DEC_dot) and durations in
// seconds shown as minutes and seconds (CLK_frm).
#include <cstdint>
#include <string>
#include <vector>

namespace zelmot::model {

// Largest value a 2-byte field carries.
inline constexpr uint32_t kMaxTwoByteValue = 0xFFFF;

// Data field of 1..4 bytes -> the number (1 and 3 bytes: byte 0; 2 and 4 bytes: bytes 0
// and 1). false for any other length (or no data).
bool readShortInteger(const uint8_t* data, int length, uint32_t& value);

// "%u". 1 converted, -1 length not understood (text is the message).
int decodeDecDot(const uint8_t* data, int length, std::string& text);
// Leading decimal integer -> 1 byte, or 2 bytes when bits 8..15 are used. 0 when the text
// does not start with a number, -1 (message set) above 65535.
int encodeDecDot(const std::string& text, std::vector<uint8_t>& data, std::string& message);

// "%02u:%02u" minutes and seconds. 1 converted, -1 length not understood.
int decodeClock(const uint8_t* data, int length, std::string& text);
// Digits and ":" only. A digit right after ":" multiplies the accumulator by 6 instead of
// 10, so "minutes:two-digit seconds" gives minutes * 60 + seconds. 1 converted, 0 empty
// text, -1 another character (no message) or a value above 65535 (message set).
int encodeClock(const std::string& text, std::vector<uint8_t>& data, std::string& message);

// The seconds that encodeClock sends for `text` (same rules); false when it refuses.
bool clockTextToWireSeconds(const std::string& text, uint32_t& seconds);

}  // namespace zelmot::model
