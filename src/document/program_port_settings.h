#pragma once
// The program's own port settings (the NetRS485prg node): kept in the settings store under
// the program's key, and handed to the device link as its port-settings source.
#include <string>

#include "link/port_settings.h"

namespace zelmot {
class Settings;
}
namespace zelmot::model {
class NetRS485prg;
}

namespace zelmot::document {

inline constexpr const char* kProgramSettingsKey = "Software/Kavrel/ZELMOT";
inline constexpr const char* kInvalidParityText = "<неверное значние>";

// Parity code of the settings store (1 even, 3 none, 4 odd) and the node's value text.
std::string parityTextForCode(int code);  // kInvalidParityText for other codes
int parityCodeForValue(const std::string& text);  // 3 (none) for an unknown text

// Fills the node from the store; values absent from the store keep the node's defaults.
void loadProgramPortSettings(const Settings& settings, model::NetRS485prg& node);
// Writes the node's values to the store; false when a write failed.
bool saveProgramPortSettings(Settings& settings, const model::NetRS485prg& node);

// The node as the link's port-settings source.
class ProgramPortSettings final : public link::PortSettingsSource {
public:
  explicit ProgramPortSettings(model::NetRS485prg& node) : node_(node) {}
  std::string GetValueByName(const std::string& name) const override;
  void clearStateFlags() override;

private:
  model::NetRS485prg& node_;
};

}  // namespace zelmot::document
