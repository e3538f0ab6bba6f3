// Listing serial ports from a sysfs tree (a fake one here; no port is opened).
#include "app/serial_port_list.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

namespace fs = std::filesystem;
using ScratchDir = test_support::TempFolder;

void write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text << "\n";
}

// class/tty/<name>/device -> devices/<device>
void addTty(const fs::path& root, const std::string& name, const std::string& device) {
  const fs::path tty = root / "class" / "tty" / name;
  fs::create_directories(tty);
  if (!device.empty()) {
    fs::create_directories(root / "devices" / device);
    fs::create_directory_symlink(root / "devices" / device, tty / "device");
  }
}

TEST(SerialPortList, ListsPortsWithDevicesAndTheirUsbDescription) {
  ScratchDir dir;
  const fs::path root = dir.path();
  addTty(root, "ttyUSB0", "usb1/1-1/1-1:1.0/ttyUSB0");
  write(root / "devices/usb1/1-1/manufacturer", "FTDI");
  write(root / "devices/usb1/1-1/product", "FT232R USB UART");
  write(root / "devices/usb1/1-1/serial", "A12345");
  write(root / "devices/usb1/1-1/1-1:1.0/interface", "x");
  addTty(root, "ttyS0", "platform/serial8250/ttyS0");
  write(root / "class/tty/ttyS0/type", "4");
  addTty(root, "ttyS1", "platform/serial8250/ttyS1");
  write(root / "class/tty/ttyS1/type", "0");  // an empty UART slot
  addTty(root, "tty5", "virtual/tty5");      // a console, not a serial port
  addTty(root, "ttyACM0", "");               // no device behind it

  const std::vector<SerialPortEntry> ports = listSerialPorts(root / "class" / "tty", "/dev");
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_EQ(ports[0].path, "/dev/ttyS0");
  EXPECT_EQ(ports[0].description, "");
  EXPECT_EQ(ports[1].path, "/dev/ttyUSB0");
  EXPECT_EQ(ports[1].description, "FTDI FT232R USB UART (A12345)");
  EXPECT_EQ(portLabel(ports[1]), "/dev/ttyUSB0 — FTDI FT232R USB UART (A12345)");
  EXPECT_EQ(portLabel(ports[0]), "/dev/ttyS0");
}

TEST(SerialPortList, MissingSysfsGivesNoPorts) {
  ScratchDir dir;
  EXPECT_TRUE(listSerialPorts(dir.path() / "none").empty());
}

}  // namespace
}  // namespace zelmot::app
