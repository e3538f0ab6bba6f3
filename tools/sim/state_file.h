#pragma once
// Saves and restores what a device keeps across power cycles: parameter values, attribute
// pairs, the clock offset, the network settings in force and the error counter. A text
// file with one tab-separated entry per line:
//   value   NAME   INDEX   TEXT
//   attr    CODE   GROUP   EDITABLE   FACTORY
//   clock   OFFSET-SECONDS
//   network ADDRESS   ADDRESS-LENGTH   BAUD   DATA-BITS   PARITY   STOP-BITS
//   errors  COUNT
// Lines that do not fit the device's model are skipped and counted.
#include <string>

#include "sim_device.h"

namespace zelmot::sim {

bool saveState(SimDevice& device, const std::string& path, std::string& error);

// False only when the file exists but cannot be read; `skipped` counts refused lines.
bool restoreState(SimDevice& device, const std::string& path, size_t& skipped,
                  std::string& error);

}  // namespace zelmot::sim
