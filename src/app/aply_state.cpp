#include "app/aply_state.h"

#include "app/frame_texts.h"
#include "document/program_port_settings.h"
#include "document/zelmot_doc.h"
#include "exchange/link_check.h"
#include "link/frame_codec.h"
#include "model/net_rs485.h"
#include "model/parameter.h"
#include "platform/user_prompt.h"

namespace zelmot::app {
namespace {

constexpr int kBroadcastPauseMs = 100;

// Writes APLY with an empty value through the exchange engine (all-mode on).
int writeAply(document::CZELMOTDoc& doc) {
  model::Parameter temporary;
  model::Parameter* aply = doc.findCatalogueParameter(kAplyCommandName);
  if (aply == nullptr) {
    temporary.setName(kAplyCommandName);
    aply = &temporary;
  }
  aply->setRawValueText("");
  return doc.deviceLink().engine().writeOne(*aply, true);
}

int sendBroadcasts(exchange::DeviceLink& link, int count, const std::function<void(int)>& pause) {
  const uint16_t command = link::name_hash(kAplyCommandName);
  for (int i = 0; i < count; ++i) {
    if (pause) pause(kBroadcastPauseMs);
    link::FrameReply reply;
    std::string ignored;
    link.transact_frame(0, command, nullptr, 0, reply, ignored, -1);  // nobody answers
    if (pause) pause(kBroadcastPauseMs);
  }
  return count;
}

}  // namespace

AplyAction aplyActionAfterNetworkWrite(bool commandLineMode, bool aplyOption) {
  if (!commandLineMode) return AplyAction::Dialog;
  return aplyOption ? AplyAction::Headless : AplyAction::None;
}

AplyAction aplyActionFor(bool fromMenu, bool commandLineMode, bool aplyOption,
                         document::CZELMOTDoc* doc, UserPrompt& prompt) {
  AplyAction next = aplyActionAfterNetworkWrite(commandLineMode, aplyOption);
  if (fromMenu && next == AplyAction::None) next = AplyAction::Dialog;
  if (next != AplyAction::Dialog) return next;
  const std::string unavailable = AplyState::unavailableText(doc);
  if (unavailable.empty()) return next;
  prompt.tell(unavailable, kAplyCaption, PromptIcon::Stop);
  return AplyAction::None;
}

std::string AplyState::newParametersText(const model::NetRS485& deviceNode) {
  std::string text;
  for (const NetworkSettingLabel& setting : kNetworkSettingLabels) {
    if (!text.empty()) text += "\n";
    text += std::string(setting.label) + deviceNode.GetValueByName(setting.name);
  }
  return text;
}

std::string AplyState::unavailableText(document::CZELMOTDoc* doc) {
  if (doc == nullptr) return kAplyNoLinkText;
  if (doc->deviceNetwork().parameters().empty()) {
    return kAplyNoNodeText;
  }
  return {};
}

int AplyState::copyDeviceSettings(const model::NetRS485& deviceNode, model::NetRS485prg& programNode) {
  int copied = 0;
  for (const NetworkSettingLabel& setting : kNetworkSettingLabels) {
    const std::string value = deviceNode.GetValueByName(setting.name);
    if (value.empty() || value == model::kNoDataText) continue;
    programNode.SetValueByName(setting.name, value, false);
    ++copied;
  }
  return copied;
}

AplyOutcome AplyState::run(document::CZELMOTDoc& doc, Settings* settings, UserPrompt* prompt,
                           bool showMessages, const std::function<void(int)>& pause) const {
  AplyOutcome outcome;
  exchange::DeviceLink& link = doc.deviceLink();
  outcome.writeResult = writeAply(doc);
  if (!doc.deviceNetwork().parameters().empty()) {
    copyDeviceSettings(doc.deviceNetwork(), doc.programNetwork());
    if (settings != nullptr) document::saveProgramPortSettings(*settings, doc.programNetwork());
    link.reopen_port();
    outcome.errorText =
        exchange::linkCheck(link.engine(), doc.catalogueLookup(), prompt, showMessages, nullptr);
  }
  if (broadcast) outcome.broadcastsSent = sendBroadcasts(link, threeTimes ? 3 : 1, pause);
  link.engine().clearNetworkParametersWritten();
  if (showMessages && prompt != nullptr && !outcome.errorText.empty()) {
    prompt->tell(outcome.errorText, kAplyErrorCaption, PromptIcon::Stop);
  }
  return outcome;
}

}  // namespace zelmot::app
