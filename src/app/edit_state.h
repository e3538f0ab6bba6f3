#pragma once
// Taking an edit made in the tree-list view: what is checked, what the user is told, and
// what the view does next (write at once, reset the configuration, apply port settings).
// Messages go through the UserPrompt given; nothing here touches the device.
#include <string>

#include "app/tree_rows.h"

namespace zelmot {
class UserPrompt;
}
namespace zelmot::model {
class ObjectWithParameters;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::app {

inline constexpr const char* kValueRefusedCaption = "Неудалось изменить параметр";
inline constexpr const char* kWriteFailedCaption = "Значение не удалось записать в прибор";
inline constexpr const char* kResetConfigurationQuestion =
    "Сбросить конфигурацию прибора?\n\n(Если у вас несколько приборов и вы сейчас \n"
    "переключаететсь с одного прибора на другой,\nследует сбросить конфигурацию)";

struct ValueEditContext {
  // The network-settings node the parameter belongs to, when it is one of its settings.
  const model::ObjectWithParameters* networkNode = nullptr;
  bool programNetwork = false;       // ... and that node is the program's own port settings
  bool configurationLoaded = false;  // the document holds a configuration worth keeping
  bool immediateWrite = false;       // "Режим немедленной записи" is ticked
  bool attributeWriteAuthorised = true;
  UserPrompt* prompt = nullptr;
};

enum class EditVerdict {
  Unchanged,  // the text was not changed: nothing taken
  Refused,    // the old text stays; the user was told why
  Accepted,   // the new text is the parameter's value
};

struct ValueEditResult {
  EditVerdict verdict = EditVerdict::Unchanged;
  bool writeNow = false;          // immediate write is due (the caller writes)
  bool resetConfiguration = false;  // the user asked to reset the configuration
  bool portSettingsChanged = false; // a program port setting changed: apply the settings
};

// Takes a value typed (or chosen) in the value column.
ValueEditResult takeValueEdit(model::Parameter& parameter, const std::string& text,
                              const ValueEditContext& context);

// The message shown when a typed value is refused (the range line included when the
// parameter has limits).
std::string valueRefusalMessage(const model::Parameter& parameter, const std::string& text);

// Takes a choice in the edit-attribute or owner column. False (nothing changed) for other
// columns and for a parameter whose row does not carry its own attributes.
bool takeAttributeEdit(model::Parameter& parameter, Column column, const std::string& chosen);

// Whether a cell of this parameter can be edited in place.
bool valueEditable(const model::Parameter& parameter);
bool attributeEditable(const model::Parameter& parameter, Column column);

// The texts offered by the drop-down of an enumerated value, of an attribute or an owner
// cell; empty when the cell takes typed text.
std::vector<std::string> editChoices(const model::Parameter& parameter, Column column);

}  // namespace zelmot::app
