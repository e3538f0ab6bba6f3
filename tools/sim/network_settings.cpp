#include "network_settings.h"

#include <charconv>

#include "value_codec.h"

namespace zelmot::sim {
namespace {

bool leadingInteger(const std::string& text, int& value) {
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && ptr != text.data();
}

// Reads one setting from `text` as the parameter `name` holds it; false when the text is
// none of its values.
bool readSetting(const StoredParameter& parameter, const std::string& text,
                 NetworkSettings& settings) {
  const std::string& name = parameter.name;
  if (sameName(name, "PrtY")) {
    double position = 0;
    if (!numericValue(parameter, text, position) || position > 2) return false;
    settings.parity = static_cast<Parity>(static_cast<int>(position));
    return true;
  }
  int value = 0;
  if (!leadingInteger(text, value)) return false;
  if (sameName(name, "bPS")) settings.baud = value;
  else if (sameName(name, "LEn")) settings.dataBits = value;
  else if (sameName(name, "Sbit")) settings.stopBits = value;
  else if (sameName(name, "A.Len")) settings.addressLength = value;
  else if (sameName(name, "Addr")) settings.address = value;
  else return false;
  return true;
}

void storeText(ParameterStore& store, const char* name, const std::string& text) {
  if (StoredParameter* parameter = store.findByName(name, -1)) setEncodableValue(*parameter, text);
}

constexpr const char* kNetworkNames[] = {"bPS", "LEn", "PrtY", "Sbit", "A.Len", "Addr"};

}  // namespace

bool isNetworkParameter(const std::string& name) {
  for (const char* networkName : kNetworkNames) {
    if (sameName(name, networkName)) return true;
  }
  return false;
}

NetworkSettings storedNetworkSettings(ParameterStore& store, const NetworkSettings& current) {
  NetworkSettings settings = current;
  for (const char* name : kNetworkNames) {
    if (const StoredParameter* parameter = store.findByName(name, -1)) {
      readSetting(*parameter, parameter->value->valueText(), settings);
    }
  }
  return settings;
}

void storeNetworkSettings(ParameterStore& store, const NetworkSettings& settings) {
  static const char* const kParityItems[] = {"Отсутствует", "Четность", "Нечетность"};
  storeText(store, "bPS", std::to_string(settings.baud));
  storeText(store, "LEn", std::to_string(settings.dataBits));
  storeText(store, "PrtY", kParityItems[static_cast<int>(settings.parity)]);
  storeText(store, "Sbit", std::to_string(settings.stopBits));
  storeText(store, "A.Len", std::to_string(settings.addressLength));
  storeText(store, "Addr", std::to_string(settings.address));
}

DeviceError checkNetworkWrite(ParameterStore& store, const StoredParameter& parameter,
                              const std::string& newText, const NetworkSettings& current) {
  NetworkSettings wanted = storedNetworkSettings(store, current);
  if (!readSetting(parameter, newText, wanted)) return DeviceError::None;
  const bool sevenOneNone =
      wanted.dataBits == 7 && wanted.stopBits == 1 && wanted.parity == Parity::None;
  const bool eightTwoParity =
      wanted.dataBits == 8 && wanted.stopBits == 2 && wanted.parity != Parity::None;
  if (sevenOneNone || eightTwoParity) return DeviceError::InvalidCombination;
  if (wanted.address % 8 != 0) return DeviceError::InvalidCombination;
  if (wanted.address > 255 && wanted.addressLength != 11) return DeviceError::InvalidCombination;
  if (wanted.address > 2047) return DeviceError::InvalidCombination;
  return DeviceError::None;
}

}  // namespace zelmot::sim
