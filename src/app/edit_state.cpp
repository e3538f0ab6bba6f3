#include "app/edit_state.h"

#include <algorithm>

#include "app/network_value_check.h"
#include "model/enumeration_codec.h"
#include "model/object_with_parameters.h"
#include "model/parameter.h"
#include "model/service_values.h"
#include "model/text_util.h"
#include "platform/user_prompt.h"
#include "platform/ascii_text.h"

namespace zelmot::app {
namespace {

constexpr const char* kClockParameterName = "rtC";
constexpr const char* kProgramCaption = "ZELMOT";

void tell(UserPrompt* prompt, const std::string& text, const std::string& caption,
          PromptIcon icon) {
  if (prompt != nullptr) prompt->tell(text, caption, icon);
}

ValueEditResult refused() { return {EditVerdict::Refused}; }

// Attribute columns edit only on the first element of an attribute group.
bool ownsAttributes(const model::Parameter& parameter) {
  const std::string text = parameter.editAttributeText();
  return !text.empty() && text != model::kSeeAboveText;
}

// Rows that no write ever sends: an editor there would only leave a change (a green row)
// that can never go to the device.
bool neverWritten(const model::Parameter& parameter) {
  const std::string& name = parameter.name();
  if (!parameter.isWritable() || model::isMeasuredValueName(name)) return true;
  for (const char* readOnly : {"dev", "ver", "exit"}) {
    if (equalsIgnoreCase(name, readOnly)) return true;
  }
  const model::ValueKind kind = parameter.valueKind();
  return parameter.fromCatalogue() &&
         (kind == model::ValueKind::String || kind == model::ValueKind::Ascii);
}

}  // namespace

std::string valueRefusalMessage(const model::Parameter& parameter, const std::string& text) {
  std::string message = "Параметру '" + parameter.name() + "' (" + parameter.GetDescription() +
                        ")\nне может быть присвоено значение '" + text + "'.\n";
  const model::ValueKind kind = parameter.valueKind();
  const bool real = kind == model::ValueKind::StoredDot;
  const bool integer = kind == model::ValueKind::DecDot || kind == model::ValueKind::ClockDuration;
  if (!real && !integer) return message;
  message += " (Значение этого параметра должно быть ";
  message += real ? "вещественным числом" : "целым числом";
  if (!parameter.hasLimits()) return message + ")\n";
  message += " и\n";
  const char* range = real ? "%s должно быть больше %.3f и меньше %.3f)\n"
                           : "%s должно быть больше %.0f и меньше %.0f)\n";
  return model::formatText(range, message.c_str(), parameter.minimum(), parameter.maximum());
}

ValueEditResult takeValueEdit(model::Parameter& parameter, const std::string& text,
                              const ValueEditContext& context) {
  const std::string old = parameter.valueText();
  if (text == old) return {};
  if (parameter.factoryOwned() && !context.attributeWriteAuthorised) return refused();

  if (context.networkNode != nullptr) {
    const NetworkRefusal refusal = checkNetworkValue(*context.networkNode, parameter.name(), text);
    if (refusal.refused) {
      tell(context.prompt, refusal.text, refusal.caption, refusal.icon);
      return refused();
    }
  }
  if (parameter.SetValueText(text) != 1) {
    tell(context.prompt, valueRefusalMessage(parameter, text), kValueRefusedCaption,
         PromptIcon::Exclamation);
    return refused();
  }

  ValueEditResult result{EditVerdict::Accepted};
  if (context.programNetwork) {
    // The program's own settings are never written to the device; they are applied.
    parameter.clearChangeFlags();
    result.portSettingsChanged = true;
    if (context.configurationLoaded && context.prompt != nullptr) {
      const PromptAnswer answer = context.prompt->ask(
          kResetConfigurationQuestion, kProgramCaption, PromptIcon::Question,
          PromptButtons::YesNoCancel);
      if (answer == PromptAnswer::Cancel) {
        parameter.setRawValueText(old);
        return refused();
      }
      result.resetConfiguration = answer == PromptAnswer::Yes;
    }
    return result;
  }
  // A value typed for a polled parameter goes to the device at once, whatever the mode.
  result.writeNow = (context.immediateWrite || parameter.hasPollTimer()) && parameter.valueChanged();
  return result;
}

bool takeAttributeEdit(model::Parameter& parameter, Column column, const std::string& chosen) {
  if (!attributeEditable(parameter, column)) return false;
  if (column == Column::EditAttribute) {
    parameter.setEditable(chosen == model::kEditableText);
    parameter.setEditAttributeChanged(true);
  } else {
    parameter.setFactoryOwned(chosen == model::kFactoryText);
    parameter.setOwnerAttributeChanged(true);
  }
  return true;
}

bool valueEditable(const model::Parameter& parameter) {
  // The clock has a dialog of its own.
  return !equalsIgnoreCase(parameter.name(), kClockParameterName) &&
         !neverWritten(parameter);
}

bool attributeEditable(const model::Parameter& parameter, Column column) {
  return (column == Column::EditAttribute || column == Column::Owner) &&
         ownsAttributes(parameter) && !neverWritten(parameter);
}

std::vector<std::string> editChoices(const model::Parameter& parameter, Column column) {
  switch (column) {
    case Column::EditAttribute: return {model::kEditableText, model::kNotEditableText};
    case Column::Owner: return {model::kFactoryText, model::kUserText};
    case Column::Value:
      if (parameter.valueKind() == model::ValueKind::Enumeration) {
        std::vector<std::string> items = model::enumerationItems(parameter.typeDescriptor());
        // A value outside the list (a port given by its path) is still offered.
        const std::string current = parameter.valueText();
        if (!parameter.hasNoData() &&
            std::find(items.begin(), items.end(), current) == items.end()) {
          items.insert(items.begin(), current);
        }
        return items;
      }
      return {};
    default: return {};
  }
}

}  // namespace zelmot::app
