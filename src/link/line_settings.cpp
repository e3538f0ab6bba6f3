#include "link/line_settings.h"

#include <array>

namespace zelmot::link {
namespace {

struct BaudEntry {
  int baud;
  speed_t speed;  // 0 = no named speed
};

constexpr std::array<BaudEntry, 15> kBaudRates{{
    {110, B110},     {300, B300},       {600, B600},       {1200, B1200},  {2400, B2400},
    {4800, B4800},   {9600, B9600},     {14400, 0},        {19200, B19200}, {28800, 0},
    {38400, B38400}, {56000, 0},        {57600, B57600},   {115200, B115200}, {128000, 0},
}};

const BaudEntry* findBaud(int baud) {
  for (const auto& entry : kBaudRates) {
    if (entry.baud == baud) return &entry;
  }
  return nullptr;
}

bool dataBitsFlag(int dataBits, tcflag_t& flag) {
  switch (dataBits) {
    case 5: flag = CS5; return true;
    case 6: flag = CS6; return true;
    case 7: flag = CS7; return true;
    case 8: flag = CS8; return true;
    default: return false;
  }
}

}  // namespace

bool parityModeFor(Parity parity, ParityMode& mode) {
  switch (parity) {
    case Parity::NoneUnchecked: mode = {false, false, false, false}; return true;
    case Parity::Even: mode = {true, false, false, true}; return true;
    case Parity::Mark: mode = {true, true, true, true}; return true;
    case Parity::None: mode = {false, false, false, true}; return true;
    case Parity::Odd: mode = {true, true, false, true}; return true;
    case Parity::Space: mode = {true, false, true, true}; return true;
  }
  return false;
}

bool isAcceptedBaud(int baud) { return findBaud(baud) != nullptr; }

bool hasStandardSpeed(int baud) {
  const BaudEntry* entry = findBaud(baud);
  return entry != nullptr && entry->speed != 0;
}

OpenResult configureTermios(termios& tio, const LineSettings& settings) {
  // Raw bytes, no flow control, no echo, no signals. Line errors and breaks are marked in
  // the input (INPCK + PARMRK) so that an exchange can tell them from characters; with no
  // parity bit on the line only framing errors and breaks can occur.
  tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | IGNPAR | ISTRIP | INLCR | IGNCR |
                                        ICRNL | IXON | IXOFF | IXANY);
  tio.c_iflag |= INPCK | PARMRK;
  tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | HUPCL | CSIZE | PARENB | PARODD | CMSPAR |
                                        CSTOPB);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;

  ParityMode parity;
  if (!parityModeFor(settings.parity, parity)) return OpenResult::SettingRefused;
  if (parity.sent) tio.c_cflag |= PARENB;
  if (parity.odd) tio.c_cflag |= PARODD;
  if (parity.stick) tio.c_cflag |= CMSPAR;

  tcflag_t size = 0;
  if (!dataBitsFlag(settings.dataBits, size)) return OpenResult::DataBitsRefused;
  tio.c_cflag |= size;

  if (settings.stopBits == 2) {
    tio.c_cflag |= CSTOPB;
  } else if (settings.stopBits != 1) {
    return OpenResult::SettingRefused;
  }

  const BaudEntry* baud = findBaud(settings.baud);
  if (baud == nullptr) return OpenResult::SettingRefused;
  // A rate without a named speed is set afterwards; a placeholder keeps the structure sane.
  const speed_t speed = baud->speed != 0 ? baud->speed : B38400;
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  return OpenResult::Ok;
}

}  // namespace zelmot::link
