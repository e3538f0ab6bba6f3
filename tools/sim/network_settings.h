#pragma once
// The device's own network settings. Writing bPS, LEn, PrtY, Sbit, A.Len or Addr only
// stores the new value; the device goes on with the settings in force until APLY applies
// the stored ones.
#include <string>

#include "device_errors.h"
#include "parameter_store.h"

namespace zelmot::sim {

enum class Parity { None, Even, Odd };

struct NetworkSettings {
  int address = 16;
  int addressLength = 8;
  int baud = 9600;
  int dataBits = 8;
  Parity parity = Parity::None;
  int stopBits = 1;

  bool operator==(const NetworkSettings&) const = default;
};

bool isNetworkParameter(const std::string& name);

// The settings the stored parameters hold now; a parameter the catalogue lacks keeps the
// value of `current`.
NetworkSettings storedNetworkSettings(ParameterStore& store, const NetworkSettings& current);

// Puts the settings into the stored parameters, so that reads show what is in force.
void storeNetworkSettings(ParameterStore& store, const NetworkSettings& settings);

// The device's own check of a new value (the combination with the other stored values):
// frames it cannot receive and addresses it cannot use are refused.
DeviceError checkNetworkWrite(ParameterStore& store, const StoredParameter& parameter,
                              const std::string& newText, const NetworkSettings& current);

}  // namespace zelmot::sim
