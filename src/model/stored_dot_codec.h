#pragma once
// Signed decimal numbers with the position of the decimal point stored beside a binary
// mantissa. Byte 0: bit 7 sign, bits 6..4 decimals (0..7), bits 3..0 the top of the
// mantissa; the following bytes continue the mantissa, most significant first.
#include <cstdint>
#include <string>
#include <vector>

namespace zelmot::model {

// Largest mantissa the layout carries is 2^28 - 1 (4 bits + 3 bytes in a 4-byte field).
inline constexpr uint32_t kStoredDotMantissaLimit = 1u << 28;
// A value part longer than this no longer fits the 64-bit mantissa arithmetic.
inline constexpr int kStoredDotMaxValueBytes = 8;

// Data field -> "%.3f". Fields longer than 2 bytes carry two trailing bytes that are not
// part of the value. 1 converted, -1 length not understood (text is the message), 0 empty.
int decodeStoredDot(const uint8_t* data, int length, std::string& text);

// Value text -> 2, 3 or 4 bytes. `decimals` 0 chooses the decimals from the value (at
// most 3); otherwise they are fixed (counted as 3 when larger). 1 converted, 0 the text is
// not a number, -1 the value does not fit the layout (message set).
int encodeStoredDot(const std::string& text, int32_t decimals, std::vector<uint8_t>& data,
                    std::string& message);

// Reads a whole text (blanks and control characters around it ignored) as a finite
// 32-bit number, independent of the locale.
bool parseFloatText(const std::string& text, float& value);
bool parseDoubleText(const std::string& text, double& value);

// "%.3f", without the sign of a value that prints as zero ("-0.000" reads as a sign error).
std::string formatThreeDecimals(double value);

}  // namespace zelmot::model
