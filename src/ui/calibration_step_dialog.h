#pragma once
// "Продолжение юстировки": the thin view of calibration::CCalibrationStepDlg. Each step
// runs on the link worker while the window keeps drawing its status line; "Отмена" ends
// a wait at once. The dialog closes only after the final CLB.A has been sent.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zelmot::calibration {
class CCalibrationStepDlg;
enum class StepResult;
}  // namespace zelmot::calibration

namespace zelmot::ui {

class LinkWorker;

class CalibrationStepDialog final : public QDialog {
  Q_OBJECT

public:
  CalibrationStepDialog(calibration::CCalibrationStepDlg& state, LinkWorker& worker,
                        QWidget* parent = nullptr);

  QPlainTextEdit* instruction() const { return instruction_; }
  QLabel* statusLine() const { return status_; }
  QPushButton* continueButton() const { return continue_; }
  QPushButton* cancelButton() const { return cancel_; }

  // Called by the state from the worker: the view follows on its own thread.
  void stateChanged();
  void reject() override;

private:
  void showState();
  void onContinue();
  void finish(calibration::StepResult result);

  calibration::CCalibrationStepDlg& state_;
  LinkWorker& worker_;
  bool running_ = false;
  bool closing_ = false;
  QPlainTextEdit* instruction_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* continue_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace zelmot::ui
