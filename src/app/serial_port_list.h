#pragma once
// The serial ports that exist on this machine, for the "Port" choice of the program's
// network settings: read from sysfs only (no port is ever opened, as opening one can
// disturb the line or the console on it).
#include <filesystem>
#include <string>
#include <vector>

namespace zelmot::app {

struct SerialPortEntry {
  std::string path;         // "/dev/ttyUSB0"
  std::string description;  // "FTDI FT232R USB UART (A12345)"; empty for built-in ports
};

// Ports under `ttyClassDir` (normally /sys/class/tty) with a device behind them; built-in
// UART slots that report no chip (type 0) are left out. Device paths are `devDir`/name.
// Sorted by path.
std::vector<SerialPortEntry> listSerialPorts(
    const std::filesystem::path& ttyClassDir = "/sys/class/tty",
    const std::filesystem::path& devDir = "/dev");

// What a port list shows: "/dev/ttyUSB0 — FTDI FT232R USB UART", or the path alone.
std::string portLabel(const SerialPortEntry& entry);

}  // namespace zelmot::app
