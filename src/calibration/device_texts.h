#pragma once
// What the bytes of a calibration reply mean: the status code and the process-flag byte.
#include <cstdint>
#include <string>

namespace zelmot::calibration {

// The text of a status code (read as a signed byte), each ending with a line break.
std::string statusCodeText(int8_t code);
// The text of the first rule the process-flag byte matches.
std::string processFlagText(uint8_t flags);

inline constexpr uint8_t kMeasurementsFinished = 0x80;  // the only flag that steers a run

}  // namespace zelmot::calibration
