#pragma once
// Texts of the main window itself: its title with the file name and modified mark, the
// status-bar texts of the port and the link, and the question before unsaved changes go.
#include <string>

namespace zelmot::exchange {
class DeviceLink;
}
namespace zelmot::model {
class ObjectWithParameters;
}

namespace zelmot::app {

inline constexpr const char* kProgramTitle = "Configurator - ZELMOT";
inline constexpr const char* kUntitledName = "Безымянный";
inline constexpr const char* kFileFilter = "ZELMOT Files (*.zel)";
inline constexpr const char* kFileExtension = ".zel";
inline constexpr const char* kLinkAnswersText = "Прибор отвечает";
inline constexpr const char* kNoLinkText = "Нет связи с прибором";
// After the port name when the semi-automatic converter is chosen on a port without RTS.
inline constexpr const char* kRtsUnusableNote = " (нет линии RTS: кадры передаются целиком)";
inline constexpr const char* kLinkUnknownText = "Связь не проверялась";

struct NetworkSettingLabel {
  const char* name;
  const char* label;
};

// The six line settings of a network-settings node, in the order they are shown.
inline constexpr NetworkSettingLabel kNetworkSettingLabels[] = {
    {"bPS", "Скорость обмена данными: "}, {"LEn", "Длина слова данных: "},
    {"PrtY", "Контроль по четности: "},    {"Sbit", "Количество стоп-бит: "},
    {"A.Len", "Длина сетевого адреса: "}, {"Addr", "Базовый адрес прибора: "},
};

// "name.zel* - Configurator - ZELMOT"; without a file "Безымянный - ...".
std::string windowTitle(const std::string& path, bool modified);

// "Сохранить изменения в name.zel?"
std::string saveChangesQuestion(const std::string& path);

// "COM-порт: <port>" of the program's port-settings node.
std::string portStatusText(const model::ObjectWithParameters& programNetwork);

// The node's settings, one per line: "Скорость обмена данными: 9600" ... "Базовый адрес
// прибора: 16", then "COM-порт: ...".
std::string lineSettingsText(const model::ObjectWithParameters& programNetwork);

struct PortStatus {
  std::string text;     // the port, noted when frames go out whole for want of RTS
  std::string toolTip;  // the settings, and what the open port really uses
};
PortStatus portStatus(const model::ObjectWithParameters& programNetwork,
                      const exchange::DeviceLink& link);

// Adds ".zel" to a chosen file name that has no extension.
std::string withConfigurationExtension(const std::string& path);

}  // namespace zelmot::app
