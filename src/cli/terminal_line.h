#pragma once
// One line typed on standard input, ended early by an event (Ctrl+C) or the end of input.
#include <string>

#include "platform/event.h"

namespace zelmot::cli {

// False when `cancel` was set or the input ended before a whole line came.
bool readTerminalLine(Event& cancel, std::string& line);

}  // namespace zelmot::cli
