#pragma once
// Line settings of the port and how they map onto a POSIX terminal: parity codes, the
// accepted baud rates and the result codes of a refused setting.
#include <termios.h>

namespace zelmot::link {

struct LineSettings {
  int baud = 9600;
  int parityCode = 3;
  int dataBits = 8;
  int stopBits = 1;
};

// Parity codes: 0 none (unchecked), 1 even, 2 mark, 3 none (checked), 4 odd, 5 space.
// Code 3 sends no parity bit but still counts one in the character time.
struct ParityMode {
  bool sent = false;     // a parity bit travels on the line
  bool odd = false;      // odd (or mark with stick parity)
  bool stick = false;    // mark/space parity
  bool checked = false;  // the parity checking flag
};

bool parityModeForCode(int code, ParityMode& mode);
bool isAcceptedBaud(int baud);
// True when the terminal interface has a named speed for the rate; the others are set
// through the kernel's arbitrary-rate interface.
bool hasStandardSpeed(int baud);

// Puts the terminal into raw mode for the settings. Returns 0, -2 (parity, stop bits or
// baud not accepted) or -3 (data bits outside 5..8), checked in that order of the fields.
int configureTermios(termios& tio, const LineSettings& settings);

// Sets a rate without a named speed (14400, 28800, 56000, 128000). False on failure.
bool setArbitraryBaud(int fd, int baud);

}  // namespace zelmot::link
