#pragma once
// The two nodes of RS-485 network settings: the device's own settings (ordinary device
// parameters) and the program's port settings (never sent to the device).
#include <string>

#include "model/invisible_element.h"

namespace zelmot::model {

inline constexpr const char* kNetDeviceCaption = "Сетевые параметры прибора";
inline constexpr const char* kNetProgramCaption = "Сетевые параметры программы";
inline constexpr const char* kNetGroupCaption = "Сеть RS-485";

inline constexpr const char* kBaudRateDescriptor = "2400:4800:9600:14400:19200:28800:38400:57600:115200";
inline constexpr const char* kDataBitsDescriptor = "7:8";
inline constexpr const char* kParityDescriptor = "Отсутствует:Четность:Нечетность";
inline constexpr const char* kStopBitsDescriptor = "1:2";
inline constexpr const char* kAddressLengthDescriptor = "8:11";
inline constexpr const char* kAddressDescriptor = "DEC_dot";
inline constexpr const char* kPortDescriptor = "COM1:COM2:COM3:COM4:COM5:COM6:COM7:COM8:COM9";

class NetRS485 : public InvisibleElement {
public:
  // The six device settings bPS, LEn, PrtY, Sbit, A.Len, Addr, not yet read.
  NetRS485();

  std::string caption() const override { return kNetDeviceCaption; }
  std::string groupCaption() const override { return kNetGroupCaption; }

protected:
  struct NoParameters {};
  explicit NetRS485(NoParameters);
  // Appends an owned setting parameter.
  void addSetting(const std::string& name, const std::string& description,
                  const std::string& descriptor, const std::string& value);
};

class NetRS485prg : public NetRS485 {
public:
  // Port, bPS, PrtY, LEn, Sbit, A.Len, Addr with the defaults COM1, 9600, no parity,
  // 8 data bits, 1 stop bit, 8-bit addresses, address 16.
  NetRS485prg();

  std::string caption() const override { return kNetProgramCaption; }

  // Clears change flags and error texts: the settings are the program's, nothing waits
  // to be written.
  void clearStateFlags();
};

}  // namespace zelmot::model
