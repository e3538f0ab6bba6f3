#pragma once
// The optional text file that collects every failed read or write of a run ("elog").
#include <cstdint>
#include <string>

namespace zelmot::exchange {

// Appends "name[:index] - error\n" to the file at `path`, opening and closing it for this one
// line so that the file is complete whenever the program stops. Nothing happens when the
// path or the error text is empty. False when the file could not be written.
bool appendErrorLogLine(const std::string& path, const std::string& name, bool hasLinearIndex,
                        int32_t linearIndex, const std::string& errorText);

// Creates the file empty (or truncates it); false when that fails.
bool truncateErrorLog(const std::string& path);

}  // namespace zelmot::exchange
