#include "app/frame_texts.h"

#include <filesystem>

#include "exchange/device_link.h"
#include "model/object_with_parameters.h"

namespace zelmot::app {
namespace {

std::string displayName(const std::string& path) {
  return path.empty() ? kUntitledName : std::filesystem::path(path).filename().string();
}

}  // namespace

std::string windowTitle(const std::string& path, bool modified) {
  return displayName(path) + (modified ? "*" : "") + " - " + kProgramTitle;
}

std::string saveChangesQuestion(const std::string& path) {
  return "Сохранить изменения в " + displayName(path) + "?";
}

std::string portStatusText(const model::ObjectWithParameters& programNetwork) {
  return "COM-порт: " + programNetwork.GetValueByName("Port");
}

std::string lineSettingsText(const model::ObjectWithParameters& programNetwork) {
  std::string text;
  for (const NetworkSettingLabel& setting : kNetworkSettingLabels) {
    text += std::string(setting.label) + programNetwork.GetValueByName(setting.name) + "\n";
  }
  return text + portStatusText(programNetwork);
}

PortStatus portStatus(const model::ObjectWithParameters& programNetwork,
                      const exchange::DeviceLink& link) {
  PortStatus status{portStatusText(programNetwork), lineSettingsText(programNetwork)};
  if (link.semiAutomaticConverterUnusable()) status.text += kRtsUnusableNote;
  // The open port's own settings differ from the node's while an edit has not reached it.
  if (link.port().isOpen()) status.toolTip += "\nОткрыт: " + link.describeLineSettings();
  return status;
}

std::string withConfigurationExtension(const std::string& path) {
  if (path.empty() || std::filesystem::path(path).has_extension()) return path;
  return path + kFileExtension;
}

}  // namespace zelmot::app
