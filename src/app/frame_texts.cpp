#include "app/frame_texts.h"

#include <filesystem>
#include <iterator>

#include "model/object_with_parameters.h"

namespace zelmot::app {
namespace {

std::string displayName(const std::string& path) {
  return path.empty() ? kUntitledName : std::filesystem::path(path).filename().string();
}

struct SettingLabel {
  const char* name;
  const char* label;
};

constexpr SettingLabel kSettingLabels[] = {
    {"bPS", "Скорость обмена данными: "}, {"LEn", "Длина слова данных: "},
    {"PrtY", "Контроль по четности: "},    {"Sbit", "Количество стоп-бит: "},
    {"A.Len", "Длина сетевого адреса: "}, {"Addr", "Базовый адрес прибора: "},
};

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
  for (const SettingLabel& setting : kSettingLabels) {
    text += std::string(setting.label) + programNetwork.GetValueByName(setting.name) + "\n";
  }
  return text + portStatusText(programNetwork);
}

std::string withConfigurationExtension(const std::string& path) {
  if (path.empty() || std::filesystem::path(path).has_extension()) return path;
  return path + kFileExtension;
}

}  // namespace zelmot::app
