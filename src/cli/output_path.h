#pragma once
// A file the run will save to is checked before the device is touched, so that a long read
// is not lost to a path that cannot be written.
#include <string>

namespace zelmot::cli {

// "" when `path` can be written (its folder takes new files, and an existing file is
// writable); otherwise the message, naming the path once, with the system's reason.
std::string unwritableOutputText(const std::string& path);

}  // namespace zelmot::cli
