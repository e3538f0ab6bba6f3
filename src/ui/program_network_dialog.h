#pragma once
// "Сетевые параметры программы": the program's own port settings in one dialog. The port
// offers COM1…COM9 and the serial ports of this machine (with their USB description);
// the values are taken by app::applyProgramNetworkEdit when the dialog is accepted.
#include <QDialog>
#include <map>
#include <string>

#include "app/serial_port_list.h"

class QComboBox;

namespace zelmot {
class UserPrompt;
}
namespace zelmot::model {
class NetRS485prg;
}

namespace zelmot::ui {

class ProgramNetworkDialog final : public QDialog {
  Q_OBJECT

public:
  ProgramNetworkDialog(model::NetRS485prg& node, std::vector<app::SerialPortEntry> ports,
                       bool configurationLoaded, UserPrompt& prompt, QWidget* parent = nullptr);

  QComboBox* settingBox(const std::string& name) const;
  bool resetRequested() const { return reset_; }
  bool changed() const { return changed_; }

  // Takes the values; stays open when one is refused or the reset question is cancelled.
  void accept() override;

private:
  QComboBox* makeBox(const std::string& name);

  model::NetRS485prg& node_;
  std::vector<app::SerialPortEntry> ports_;
  bool configurationLoaded_;
  UserPrompt& prompt_;
  std::map<std::string, QComboBox*> boxes_;
  bool reset_ = false;
  bool changed_ = false;
};

}  // namespace zelmot::ui
