#pragma once
// Texts of the progress counters: elapsed time and "done of total".
#include <cstdint>
#include <string>

namespace zelmot::exchange {

// Formats a duration with a strftime-like pattern knowing %D (whole days), %H (hours modulo
// 24), %M and %S (modulo 60), each two digits, and %% for a percent sign.
std::string formatElapsed(int64_t seconds, const std::string& pattern = "%H:%M:%S");

// "%i из %i", or empty when total is 0.
std::string counterText(int done, int total);

}  // namespace zelmot::exchange
