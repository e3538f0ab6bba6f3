#pragma once
// The APLY command: the device takes the network settings written to it, and the program
// follows with its own port settings so that it still reaches the device. This holds the
// state of the dialog "Изменение сетевых параметров прибора" and runs its algorithm; the
// desktop program shows it, an unattended run and `zelmot-cli aply` run it directly.
#include <functional>
#include <string>

namespace zelmot {
class Settings;
class UserPrompt;
}  // namespace zelmot
namespace zelmot::exchange {
class DeviceLink;
}
namespace zelmot::model {
class NetRS485;
class NetRS485prg;
}  // namespace zelmot::model
namespace zelmot::document {
class CZELMOTDoc;
}

namespace zelmot::app {

inline constexpr const char* kAplyCaption = "Изменение сетевых параметров прибора";
inline constexpr const char* kAplyWarning =
    "ВНИМАНИЕ: Данная операция повлечет изменение сетевых параметров прибора, что может "
    "привести к потере связи с прибором.";
inline constexpr const char* kAplyNewParametersGroup = "Новые параметры:";
inline constexpr const char* kAplyChangeProgramText = "Поменять сразу сетевые настройки программы";
inline constexpr const char* kAplyBroadcastText = "Поменять сетевые настройки всех приборов в сети";
inline constexpr const char* kAplyThreeTimesText = "Поcлать посылку трижды (для надежности)";
inline constexpr const char* kAplyNoLinkText =
    "Нет данных - контекст устройства не получен диалогом APLY\n\nВнутренняя ошибка программы";
inline constexpr const char* kAplyNoNodeText =
    "Нет данных - элемент 'Сетевые параметры прибора' не инициализирован\n\nВнутренняя ошибка "
    "программы";
inline constexpr const char* kAplyErrorCaption = "Имела место ошибка";
inline constexpr const char* kAplyCommandName = "APLY";

// What the task finish does about network settings written to the device.
enum class AplyAction { None, Dialog, Headless };
// Outside command-line mode the dialog opens; in it, only with the `aply` option.
AplyAction aplyActionAfterNetworkWrite(bool commandLineMode, bool aplyOption);
// The same for the menu command too (which opens the dialog where nothing would be sent);
// the dialog is refused, and why told through `prompt`, when APLY cannot go with `doc`.
AplyAction aplyActionFor(bool fromMenu, bool commandLineMode, bool aplyOption,
                         document::CZELMOTDoc* doc, UserPrompt& prompt);

struct AplyOutcome {
  int writeResult = 0;      // result of writing APLY (0 written)
  std::string errorText;    // the link check's error text after reopening; empty: fine
  int broadcastsSent = 0;
};

class AplyState {
public:
  bool changeProgramSettings = true;  // shown only: the program's settings change anyway
  bool broadcast = false;
  bool threeTimes = true;

  // The device node's settings as the dialog shows them, one per line.
  static std::string newParametersText(const model::NetRS485& deviceNode);

  // Why the dialog cannot work (the texts above); empty when it can.
  static std::string unavailableText(document::CZELMOTDoc* doc);

  // Writes APLY, copies the device node's settings into the program's settings (stored
  // in `settings` when given), reopens the port, checks the link (with messages when
  // `showMessages`) and sends the broadcasts. `pause` waits the given milliseconds
  // between broadcasts (tests pass a no-op). Runs on a thread that may do device I/O.
  AplyOutcome run(document::CZELMOTDoc& doc, Settings* settings, UserPrompt* prompt,
                  bool showMessages, const std::function<void(int)>& pause) const;

  // Step 2's copy alone: each of the six settings whose device value is known replaces
  // the program's. Returns how many were copied.
  static int copyDeviceSettings(const model::NetRS485& deviceNode, model::NetRS485prg& programNode);
};

}  // namespace zelmot::app
