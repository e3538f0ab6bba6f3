#include "document/program_port_settings.h"

#include "link/port_names.h"
#include "model/net_rs485.h"
#include "platform/settings.h"

namespace zelmot::document {
namespace {

// Registry value name and node parameter of the settings stored as plain numbers.
struct NumericSetting {
  const char* value;
  const char* parameter;
};

constexpr NumericSetting kNumericSettings[] = {
    {"address", "Addr"}, {"address_length", "A.Len"}, {"baud_rate", "bPS"},
    {"byte_size", "LEn"}, {"stop_bits", "Sbit"},
};

}  // namespace

std::string parityTextForCode(int code) {
  switch (code) {
    case 1: return "Четность";
    case 3: return "Отсутствует";
    case 4: return "Нечетность";
  }
  return kInvalidParityText;
}

int parityCodeForValue(const std::string& text) {
  link::Parity parity = link::Parity::None;
  link::parityForText(text, parity);
  return link::parityCode(parity);
}

void loadProgramPortSettings(const Settings& settings, model::NetRS485prg& node) {
  std::uint32_t number = 0;
  for (const NumericSetting& setting : kNumericSettings) {
    if (settings.readInt(kProgramSettingsKey, setting.value, number) == SettingsStatus::Ok) {
      node.SetValueByName(setting.parameter, std::to_string(number), false);
    }
  }
  if (settings.readInt(kProgramSettingsKey, "parity_scheme", number) == SettingsStatus::Ok) {
    node.SetValueByName("PrtY", parityTextForCode(static_cast<int>(number)), false);
  }
  if (settings.readInt(kProgramSettingsKey, "port_number", number) == SettingsStatus::Ok) {
    node.SetValueByName("Port", "COM" + std::to_string(number), false);
  }
  node.clearStateFlags();
}

bool saveProgramPortSettings(Settings& settings, const model::NetRS485prg& node) {
  bool ok = true;
  for (const NumericSetting& setting : kNumericSettings) {
    const int value = link::decimalTextToInt(node.GetValueByName(setting.parameter));
    ok = settings.writeInt(kProgramSettingsKey, setting.value, static_cast<std::uint32_t>(value)) ==
             SettingsStatus::Ok && ok;
  }
  const int parity = parityCodeForValue(node.GetValueByName("PrtY"));
  ok = settings.writeInt(kProgramSettingsKey, "parity_scheme", static_cast<std::uint32_t>(parity)) ==
           SettingsStatus::Ok && ok;
  // A device path given for one run has no port number; the stored number then stays.
  const int port = link::comPortNumber(node.GetValueByName("Port"));
  if (port > 0) {
    ok = settings.writeInt(kProgramSettingsKey, "port_number", static_cast<std::uint32_t>(port)) ==
             SettingsStatus::Ok && ok;
  }
  return ok;
}

std::string ProgramPortSettings::GetValueByName(const std::string& name) const {
  return node_.GetValueByName(name);
}

void ProgramPortSettings::clearStateFlags() { node_.clearStateFlags(); }

}  // namespace zelmot::document
