#pragma once
// Date and time of the device clock. The last byte of the data field describes the fields
// before it: low four bits the index of the first field present, high four bits their
// count. Fields (one binary byte each, highest first): 0 fraction of a second, 1 seconds,
// 2 minutes, 3 hours, 4 day of the month, 5 month, 6 year within the century.
#include <cstdint>
#include <string>
#include <vector>

#include "model/value_context.h"

namespace zelmot::model {

// 1 converted (text and fields set; day and month counted from 1, -1 for a field not
// sent), 0 no data, -1 the descriptor counts more fields than the data holds (text is the
// message). Fields beyond the year are skipped.
int decodeRealTimeClock(const uint8_t* data, int length, std::string& text, ClockFields& fields);

// Either the text the decoder shows ("15.04.2009 10:05:07", fields from the first to the
// last shown, the descriptor byte made from them) or "n|n|...", one byte per number in the
// order given (as the clock dialog builds it). 1 converted, 0 empty text, -1 neither form
// or a field out of its range (message set).
int encodeRealTimeClock(const std::string& text, std::vector<uint8_t>& data, std::string& message);

}  // namespace zelmot::model
