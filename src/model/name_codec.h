#pragma once
// Network name of up to four characters, each optionally followed by a point. Each
// character is one byte, code = 2 * symbol (+1 for the point); the field holds the fourth
// character first.
#include <cstdint>
#include <string>
#include <vector>

namespace zelmot::model {

// 4 bytes (or 6, the last two not part of the value). 1 converted, -1 wrong length or a
// code above 79 (text is the message).
int decodeNetworkName(const uint8_t* data, int length, std::string& text);

// Up to four characters (digits, letters, space, "-", "_"), each optionally followed by
// ".". Missing characters are spaces. 1 converted, -1 with the message otherwise.
int encodeNetworkName(const std::string& text, std::vector<uint8_t>& data, std::string& message);

}  // namespace zelmot::model
