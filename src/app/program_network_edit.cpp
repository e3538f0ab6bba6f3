#include "app/program_network_edit.h"

#include "app/edit_state.h"
#include "link/port_names.h"
#include "model/net_rs485.h"
#include "model/parameter.h"
#include "platform/ascii_text.h"
#include "platform/user_prompt.h"

namespace zelmot::app {
namespace {

constexpr int kComPortCount = 9;
constexpr int kLargestComPort = 255;
constexpr const char* kCaption = "ZELMOT";

// The values of every setting, to put back when the edit is refused or cancelled.
std::map<std::string, std::string> snapshot(const model::NetRS485prg& node) {
  std::map<std::string, std::string> values;
  for (const std::string& name : programSettingNames()) values[name] = node.GetValueByName(name);
  return values;
}

void restore(model::NetRS485prg& node, const std::map<std::string, std::string>& values) {
  for (const auto& [name, value] : values) node.SetValueByName(name, value, false);
  node.clearStateFlags();
}

model::Parameter* findSetting(model::NetRS485prg& node, const std::string& name) {
  for (model::Parameter* parameter : node.parameters()) {
    if (equalsIgnoreCase(parameter->name(), name)) return parameter;
  }
  return nullptr;
}

// One setting, checked against `edited` (the node with all the new values, so that
// settings changed together are judged together); false when refused (the user was told).
bool takeSetting(model::NetRS485prg& node, const model::NetRS485prg& edited,
                 const std::string& name, const std::string& text, UserPrompt* prompt) {
  if (name == kPortSetting) {
    if (!acceptablePortText(text)) {
      if (prompt != nullptr) prompt->tell(kBadPortText, kCaption, PromptIcon::Exclamation);
      return false;
    }
    node.SetValueByName(kPortSetting, text, false);
    return true;
  }
  model::Parameter* parameter = findSetting(node, name);
  if (parameter == nullptr) return true;
  ValueEditContext context;
  context.networkNode = &edited;
  context.programNetwork = true;
  context.prompt = prompt;  // the reset question is asked once, afterwards
  return takeValueEdit(*parameter, text, context).verdict != EditVerdict::Refused;
}

}  // namespace

const std::vector<std::string>& programSettingNames() {
  static const std::vector<std::string> names = {kPortSetting, "bPS", "LEn", "PrtY",
                                                 "Sbit",       "A.Len", "Addr"};
  return names;
}

std::vector<std::string> portChoices(const std::vector<SerialPortEntry>& existing) {
  std::vector<std::string> choices;
  for (int n = 1; n <= kComPortCount; ++n) choices.push_back("COM" + std::to_string(n));
  for (const SerialPortEntry& entry : existing) choices.push_back(entry.path);
  return choices;
}

bool acceptablePortText(const std::string& text) {
  const int number = link::comPortNumber(text);
  if (number > 0) return number <= kLargestComPort;
  return text.rfind("/dev/", 0) == 0 && text.size() > 5 && text.find("/../") == std::string::npos;
}

ProgramNetworkResult applyProgramNetworkEdit(model::NetRS485prg& node,
                                             const std::map<std::string, std::string>& edited,
                                             bool configurationLoaded, UserPrompt* prompt) {
  const std::map<std::string, std::string> old = snapshot(node);
  model::NetRS485prg all;
  for (const auto& [name, value] : old) all.SetValueByName(name, value, false);
  for (const auto& [name, value] : edited) all.SetValueByName(name, value, false);
  ProgramNetworkResult result;
  for (const std::string& name : programSettingNames()) {
    const auto it = edited.find(name);
    if (it == edited.end() || it->second == old.at(name)) continue;
    if (!takeSetting(node, all, name, it->second, prompt)) {
      restore(node, old);
      return result;
    }
    result.changed = true;
  }
  if (result.changed && configurationLoaded && prompt != nullptr) {
    const PromptAnswer answer = prompt->ask(kResetConfigurationQuestion, kCaption,
                                            PromptIcon::Question, PromptButtons::YesNoCancel);
    if (answer == PromptAnswer::Cancel) {
      restore(node, old);
      return result;
    }
    result.resetConfiguration = answer == PromptAnswer::Yes;
  }
  node.clearStateFlags();
  result.accepted = true;
  return result;
}

}  // namespace zelmot::app
