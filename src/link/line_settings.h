#pragma once
// Line settings of the port and how they map onto a POSIX terminal: parity codes, the
// accepted baud rates and the result codes of a refused setting.
#include <termios.h>

#include "link/link_results.h"

namespace zelmot::link {

struct LineSettings {
  int baud = 9600;
  Parity parity = Parity::None;
  int dataBits = 8;
  int stopBits = 1;
  bool operator==(const LineSettings&) const = default;
};

// How a parity travels on the line and whether it counts in the character time.
struct ParityMode {
  bool sent = false;     // a parity bit travels on the line
  bool odd = false;      // odd (or mark with stick parity)
  bool stick = false;    // mark/space parity
  bool checked = false;  // the parity checking flag
};

// False for a value outside the enumeration (a number read from outside).
bool parityModeFor(Parity parity, ParityMode& mode);
bool isAcceptedBaud(int baud);
// True when the terminal interface has a named speed for the rate; the others are set
// through the kernel's arbitrary-rate interface.
bool hasStandardSpeed(int baud);

// Puts the terminal into raw mode for the settings. Ok, SettingRefused (parity, stop bits or
// baud) or DataBitsRefused (outside 5..8), checked in that order of the fields.
OpenResult configureTermios(termios& tio, const LineSettings& settings);

// Sets a rate without a named speed (14400, 28800, 56000, 128000). False on failure.
bool setArbitraryBaud(int fd, int baud);

}  // namespace zelmot::link
