#include "ui/program_network_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

#include "app/edit_state.h"
#include "app/program_network_edit.h"
#include "model/net_rs485.h"
#include "model/parameter.h"
#include "platform/ascii_text.h"
#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

constexpr int kMinimumBoxWidth = 320;

const model::Parameter* findSetting(const model::NetRS485prg& node, const std::string& name) {
  for (const model::Parameter* parameter : node.parameters()) {
    if (equalsIgnoreCase(parameter->name(), name)) return parameter;
  }
  return nullptr;
}

}  // namespace

ProgramNetworkDialog::ProgramNetworkDialog(model::NetRS485prg& node,
                                           std::vector<app::SerialPortEntry> ports,
                                           bool configurationLoaded, UserPrompt& prompt,
                                           QWidget* parent)
    : QDialog(parent),
      node_(node),
      ports_(std::move(ports)),
      configurationLoaded_(configurationLoaded),
      prompt_(prompt) {
  setWindowTitle(toQt(model::kNetProgramCaption));
  auto* form = new QFormLayout(this);
  for (const std::string& name : app::programSettingNames()) {
    const model::Parameter* parameter = findSetting(node_, name);
    if (parameter == nullptr) continue;
    form->addRow(toQt(parameter->GetDescription() + ":"), makeBox(name));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ProgramNetworkDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

QComboBox* ProgramNetworkDialog::makeBox(const std::string& name) {
  auto* box = new QComboBox(this);
  box->setMinimumWidth(kMinimumBoxWidth);
  const model::Parameter& parameter = *findSetting(node_, name);
  const std::string current = parameter.valueText();
  if (name == app::kPortSetting) {
    // The item's data is the value; its text may carry the adapter's description.
    box->setEditable(true);
    for (const std::string& choice : app::portChoices({})) box->addItem(toQt(choice), toQt(choice));
    for (const app::SerialPortEntry& port : ports_) {
      box->addItem(toQt(app::portLabel(port)), toQt(port.path));
    }
  } else {
    const std::vector<std::string> choices = app::editChoices(parameter, app::Column::Value);
    box->setEditable(choices.empty());
    for (const std::string& choice : choices) box->addItem(toQt(choice), toQt(choice));
  }
  const int at = box->findData(toQt(current));
  if (at >= 0) {
    box->setCurrentIndex(at);
  } else {
    box->setEditText(toQt(current));
  }
  boxes_[name] = box;
  return box;
}

QComboBox* ProgramNetworkDialog::settingBox(const std::string& name) const {
  const auto it = boxes_.find(name);
  return it == boxes_.end() ? nullptr : it->second;
}

void ProgramNetworkDialog::accept() {
  std::map<std::string, std::string> edited;
  for (const auto& [name, box] : boxes_) {
    // A chosen item gives its value; typed text is taken as it stands.
    const int at = box->currentIndex();
    const bool typed = box->isEditable() && (at < 0 || box->currentText() != box->itemText(at));
    edited[name] = fromQt(typed ? box->currentText() : box->itemData(at).toString());
  }
  const app::ProgramNetworkResult result =
      app::applyProgramNetworkEdit(node_, edited, configurationLoaded_, &prompt_);
  if (!result.accepted) return;
  changed_ = result.changed;
  reset_ = result.resetConfiguration;
  QDialog::accept();
}

}  // namespace zelmot::ui
