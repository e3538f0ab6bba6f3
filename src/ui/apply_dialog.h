#pragma once
// CApply: "Изменение сетевых параметров прибора". Shows the warning and the device node's
// new settings and takes the three choices into an app::AplyState; the caller runs the
// command when the dialog is accepted.
#include <QDialog>

class QCheckBox;
class QPlainTextEdit;

namespace zelmot::app {
class AplyState;
}

namespace zelmot::ui {

class CApply final : public QDialog {
  Q_OBJECT

public:
  CApply(app::AplyState& state, const QString& newParameters, QWidget* parent = nullptr);

  QCheckBox* changeProgramBox() const { return changeProgram_; }
  QCheckBox* broadcastBox() const { return broadcast_; }
  QCheckBox* threeTimesBox() const { return threeTimes_; }

  void accept() override;

private:
  app::AplyState& state_;
  QPlainTextEdit* parameters_ = nullptr;
  QCheckBox* changeProgram_ = nullptr;
  QCheckBox* broadcast_ = nullptr;
  QCheckBox* threeTimes_ = nullptr;
};

}  // namespace zelmot::ui
