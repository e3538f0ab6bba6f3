#include "app/link_follow_up.h"

#include <algorithm>

#include "app/task_controller.h"
#include "document/program_port_settings.h"
#include "document/zelmot_doc.h"

namespace zelmot::app {
namespace {

bool contains(const std::vector<model::Parameter*>& list, const model::Parameter* parameter) {
  return std::find(list.begin(), list.end(), parameter) != list.end();
}

}  // namespace

SubmittedEdit submitEdit(document::CZELMOTDoc& doc, model::Parameter& parameter, Column column,
                         const std::string& text, bool configurationLoaded, bool immediateWrite,
                         UserPrompt* prompt) {
  SubmittedEdit edit;
  if (column != Column::Value) {
    edit.modified = takeAttributeEdit(parameter, column, text);
    return edit;
  }
  model::NetRS485prg& program = doc.programNetwork();
  document::DeviceNetworkNode& device = doc.deviceNetwork();
  ValueEditContext context;
  if (contains(program.parameters(), &parameter)) {
    context.networkNode = &program;
    context.programNetwork = true;
  } else if (contains(device.parameters(), &parameter)) {
    context.networkNode = &device;
  }
  context.configurationLoaded = configurationLoaded;
  context.immediateWrite = immediateWrite;
  context.prompt = prompt;
  const ValueEditResult result = takeValueEdit(parameter, text, context);
  if (result.verdict != EditVerdict::Accepted) return edit;
  edit.modified = true;
  edit.followUp.portSettingsChanged = result.portSettingsChanged;
  edit.followUp.resetDocument = result.resetConfiguration;
  if (result.writeNow) edit.followUp.writeNow = &parameter;
  return edit;
}

void LinkFollowUps::take(const LinkFollowUp& followUp) {
  if (followUp.empty()) return;
  if (followUp.portSettingsChanged) {
    document::saveProgramPortSettings(settings_, doc_.programNetwork());
  }
  tasks_.whenIdle([this, followUp] { run(followUp); });
}

void LinkFollowUps::run(const LinkFollowUp& followUp) {
  link::DeviceProtocol& link = doc_.deviceLink();
  if (followUp.resetDocument) doc_.resetDocument();
  if (followUp.reopenPort) {
    link.reopen_port();
  } else if (followUp.portSettingsChanged) {
    link.load_port_settings();
  }
  if ((followUp.resetDocument || followUp.reopenPort) && hooks_.valuesChanged) hooks_.valuesChanged();
  if ((followUp.portSettingsChanged || followUp.reopenPort) && hooks_.portChanged) hooks_.portChanged();
  if (followUp.writeNow != nullptr && hooks_.writeAtOnce) hooks_.writeAtOnce(*followUp.writeNow);
}

}  // namespace zelmot::app
