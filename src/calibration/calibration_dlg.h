#pragma once
// The state of the calibration set-up ("Создание юстировки"): the chosen calibration type,
// sensor type, input and access code, and what the dialog does with them. The view shows
// the state and forwards the user's choices; every call that may talk to the device (a
// type or input chosen, "Продолжить") runs off the drawing thread and asks its questions
// through the prompt.
#include <string>
#include <vector>

#include "calibration/access_codes.h"
#include "calibration/calibration_device.h"
#include "platform/user_prompt.h"

namespace zelmot::calibration {

// What the step sequence is started with.
struct StepParameters {
  int type = 0;             // 1..4
  std::string instruction;  // the operator instruction of type 1 (I1 for the other types)
  int input = 0;            // 0..7, used by type 4 only
};

enum class SetupResult {
  Stays,      // the dialog stays open
  Cancelled,  // closed: a retry refused, the fourth wrong code, or "Отмена"
  Accepted,   // closed with OK: the step sequence runs with stepParameters()
};

class CCalibrationDlg {
public:
  CCalibrationDlg(CalibrationDevice& device, UserPrompt& prompt, WrongCodeCounter& wrongCodes);

  int type() const { return type_; }
  std::string description() const;
  bool sensorListShown() const { return type_ == 1 || type_ == 2 || type_ == 4; }
  bool inputListShown() const { return type_ == 4; }
  bool codeEnabled() const { return type_ != 0; }
  const std::vector<std::string>& sensorList() const { return sensorList_; }
  std::vector<std::string> inputList() const;
  int sensorSelection() const { return sensorSelection_; }
  int inputSelection() const { return inputSelection_; }
  const std::string& codeText() const { return codeText_; }

  // The type list's selection changed: the lists are filled from the device's current
  // sensor type (read when not known yet). Cancelled when a failed read was not retried.
  SetupResult selectType(int type);
  // The input list's selection changed (type 4): the same for the newly chosen input.
  SetupResult selectInput(int input);
  void selectSensor(int position);
  void setCodeText(const std::string& text) { codeText_ = text; }

  SetupResult pressContinue();
  const StepParameters& stepParameters() const { return step_; }

private:
  SetupResult fillLists();
  bool currentValueIndex(int input, int& valueIndex);
  std::string matchValueIndex(int input, int& valueIndex);
  bool writeSensorType(int input, int valueIndex);
  bool checkCode();

  CalibrationDevice& device_;
  UserPrompt& prompt_;
  WrongCodeCounter& wrongCodes_;
  int type_ = 0;
  std::vector<std::string> sensorList_;
  int sensorSelection_ = -1;
  int inputSelection_ = -1;
  std::string codeText_;
  StepParameters step_;
};

}  // namespace zelmot::calibration
