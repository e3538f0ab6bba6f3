#pragma once
// Port names: "COMn" (any case) is mapped to a device path through a mapping the program
// configures; anything else is already a device path and is used as it stands.
#include <functional>
#include <string>

namespace zelmot::link {

using ComPortMapper = std::function<std::string(int comNumber)>;

// /dev/ttyS<n-1>, the usual place of the n-th built-in serial port.
std::string defaultComPortPath(int comNumber);

// The number n of a "COMn" name (n >= 1), or 0 when the name is not of that form.
int comPortNumber(const std::string& name);

// Device path for a port name; the mapper may be empty (then the default applies).
std::string resolvePortPath(const std::string& name, const ComPortMapper& mapper);

}  // namespace zelmot::link
