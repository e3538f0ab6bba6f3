#pragma once
// Before a command talks to the device: a port must be named (never a silent default), and
// it must open. This is the one place that decides "no link" for a port that cannot be used.
#include <string>
#include <vector>

#include "app/serial_port_list.h"

namespace zelmot::cli {

class Session;

// The usage error for a run without a port: names the serial ports found.
std::string noPortText(const std::vector<app::SerialPortEntry>& ports);

// 0 when the device can be talked to; otherwise the exit status, the message printed once.
int prepareDeviceLine(Session& session);
// The opening part alone, for runs that name their port otherwise (legacy "/port:N").
int openDeviceLine(Session& session);

}  // namespace zelmot::cli
