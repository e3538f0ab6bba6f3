#pragma once
// Editing the program's own port settings ("Сетевые параметры программы") as a whole:
// every setting is checked as an edit in the tree is, the port may also be a serial port
// that exists on this machine, and the question about resetting the configuration is
// asked once for all the changes.
#include <map>
#include <string>
#include <vector>

#include "app/serial_port_list.h"

namespace zelmot {
class UserPrompt;
}
namespace zelmot::model {
class NetRS485prg;
}

namespace zelmot::app {

inline constexpr const char* kPortSetting = "Port";
inline constexpr const char* kBadPortText =
    "Порт задается как COM1...COM255 или как путь к устройству (/dev/...)";

// The settings of the node in the order the dialog shows them.
const std::vector<std::string>& programSettingNames();

// COM1..COM9 followed by the ports that exist (their paths).
std::vector<std::string> portChoices(const std::vector<SerialPortEntry>& existing);

// "COMn" (1..255) or an absolute path below /dev.
bool acceptablePortText(const std::string& text);

struct ProgramNetworkResult {
  bool accepted = false;       // false: refused or cancelled, the node is as it was
  bool changed = false;        // at least one setting took a new value
  bool resetConfiguration = false;
};

// Takes the edited values (name → text) into the node. A refused value is told through
// `prompt` and leaves the node as it was; so does Cancel to the reset question (asked
// only when something changed and `configurationLoaded`).
ProgramNetworkResult applyProgramNetworkEdit(model::NetRS485prg& node,
                                             const std::map<std::string, std::string>& edited,
                                             bool configurationLoaded, UserPrompt* prompt);

}  // namespace zelmot::app
