#include "app/serial_port_list.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace zelmot::app {
namespace {

namespace fs = std::filesystem;

constexpr int kUsbAttributeDepth = 5;  // tty -> interface -> device: a few levels up
constexpr const char* kPortPrefixes[] = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA", "ttyXRUSB", "rfcomm"};

std::string firstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
  return line;
}

bool looksLikeSerialPort(const std::string& name) {
  return std::any_of(std::begin(kPortPrefixes), std::end(kPortPrefixes), [&](const char* prefix) {
    return name.rfind(prefix, 0) == 0;
  });
}

// A built-in UART slot without a chip reports type 0.
bool emptyUartSlot(const fs::path& ttyDir) {
  std::error_code error;
  const fs::path type = ttyDir / "type";
  return fs::exists(type, error) && firstLine(type) == "0";
}

// Manufacturer, product and serial number of the USB device above the tty, when any.
std::string usbDescription(const fs::path& deviceLink) {
  std::error_code error;
  fs::path dir = fs::canonical(deviceLink, error);
  if (error) return {};
  for (int level = 0; level < kUsbAttributeDepth && !dir.empty(); ++level, dir = dir.parent_path()) {
    if (!fs::exists(dir / "product", error)) continue;
    std::string text = firstLine(dir / "manufacturer");
    const std::string product = firstLine(dir / "product");
    if (!product.empty()) text += (text.empty() ? "" : " ") + product;
    const std::string serial = firstLine(dir / "serial");
    if (!serial.empty()) text += " (" + serial + ")";
    return text;
  }
  return {};
}

}  // namespace

std::vector<SerialPortEntry> listSerialPorts(const fs::path& ttyClassDir, const fs::path& devDir) {
  std::vector<SerialPortEntry> ports;
  std::error_code error;
  for (fs::directory_iterator it(ttyClassDir, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!looksLikeSerialPort(name)) continue;
    const fs::path device = it->path() / "device";
    std::error_code linkError;
    if (!fs::exists(device, linkError) || emptyUartSlot(it->path())) continue;
    ports.push_back({(devDir / name).string(), usbDescription(device)});
  }
  std::sort(ports.begin(), ports.end(),
            [](const SerialPortEntry& a, const SerialPortEntry& b) { return a.path < b.path; });
  return ports;
}

std::string portLabel(const SerialPortEntry& entry) {
  return entry.description.empty() ? entry.path : entry.path + " — " + entry.description;
}

}  // namespace zelmot::app
