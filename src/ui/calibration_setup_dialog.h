#pragma once
// "Создание юстировки": the thin view of calibration::CCalibrationDlg. Choices that read or
// write the device run on the link worker; the controls are off meanwhile.
#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zelmot::calibration {
class CCalibrationDlg;
enum class SetupResult;
}  // namespace zelmot::calibration

namespace zelmot::ui {

class LinkWorker;

class CalibrationSetupDialog final : public QDialog {
  Q_OBJECT

public:
  CalibrationSetupDialog(calibration::CCalibrationDlg& state, LinkWorker& worker,
                         QWidget* parent = nullptr);

  QComboBox* typeList() const { return types_; }
  QComboBox* sensorList() const { return sensors_; }
  QComboBox* inputList() const { return inputs_; }
  QLineEdit* codeField() const { return code_; }
  QPushButton* continueButton() const { return continue_; }

private:
  void buildLayout();
  void showState();
  // Runs `call` on the worker, then closes the dialog by its result or shows the state.
  void runOnWorker(std::function<calibration::SetupResult()> call);
  void onTypeChosen(int type);
  void onInputChosen(int input);
  void onContinue();
  void setBusy(bool busy);

  calibration::CCalibrationDlg& state_;
  LinkWorker& worker_;
  bool showing_ = false;  // the lists are being refilled from the state
  QComboBox* types_ = nullptr;
  QLabel* description_ = nullptr;
  QLabel* sensorLabel_ = nullptr;
  QComboBox* sensors_ = nullptr;
  QLabel* inputLabel_ = nullptr;
  QComboBox* inputs_ = nullptr;
  QLabel* codeLabel_ = nullptr;
  QLineEdit* code_ = nullptr;
  QSpinBox* spin_ = nullptr;
  QPushButton* continue_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace zelmot::ui
