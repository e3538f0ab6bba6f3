#include "calibration/calibration_dlg.h"

#include "calibration/setup_texts.h"
#include "model/parameter.h"

namespace zelmot::calibration {
namespace {

constexpr const char* kErrorCaption = "Ошибка";
constexpr const char* kNoTypeText = "Выбертие тип юстировки для прохода в следующее меню.";
constexpr const char* kWrongCodeText = "Неправильно введен код";
constexpr const char* kReadProblemCaption = "Проблема обмена с прибором";
constexpr const char* kReadRetryText =
    "Для повтора предыдущей команды нажмите кнопку Да, или можете выйти из процесса юстировки.";
constexpr const char* kWriteProblemCaption = "Ошибка обмена с прибором (запись)";
constexpr const char* kWriteRetryText =
    "\nДля повтора предыдущей команды нажмите кнопку Да, или можете выйти из процесса юстирвки.";

bool askRetry(UserPrompt& prompt, const std::string& text, const char* caption) {
  return prompt.ask(text, caption, PromptIcon::Exclamation, PromptButtons::YesNo) ==
         PromptAnswer::Yes;
}

}  // namespace

CCalibrationDlg::CCalibrationDlg(CalibrationDevice& device, UserPrompt& prompt,
                                 WrongCodeCounter& wrongCodes)
    : device_(device), prompt_(prompt), wrongCodes_(wrongCodes) {}

std::string CCalibrationDlg::description() const { return typeDescription(type_); }

std::vector<std::string> CCalibrationDlg::inputList() const {
  std::vector<std::string> inputs;
  if (type_ != 4) return inputs;
  for (int input = 0; input < kInputCount; ++input) inputs.push_back(inputEntry(input));
  return inputs;
}

SetupResult CCalibrationDlg::selectType(int type) {
  type_ = type >= 0 && type < kTypeCount ? type : 0;
  sensorList_.clear();
  sensorSelection_ = -1;
  if (!sensorListShown()) return SetupResult::Stays;
  return fillLists();
}

SetupResult CCalibrationDlg::selectInput(int input) {
  if (type_ != 4) return SetupResult::Stays;
  inputSelection_ = input >= 0 && input < kInputCount ? input : -1;
  return fillLists();
}

void CCalibrationDlg::selectSensor(int position) {
  sensorSelection_ = position >= 0 && position < static_cast<int>(sensorList_.size()) ? position : -1;
}

SetupResult CCalibrationDlg::fillLists() {
  const int input = type_ == 4 && inputSelection_ >= 0 ? inputSelection_ : 0;
  int valueIndex = -1;
  if (!currentValueIndex(input, valueIndex)) return SetupResult::Cancelled;
  sensorList_.clear();
  sensorSelection_ = -1;
  const auto entries = sensorEntries(type_);
  for (const SensorEntry& entry : entries) sensorList_.push_back(entry.text);
  if (type_ == 4) {
    inputSelection_ = input;
    sensorSelection_ = positionSensorSelection(valueIndex);
    return SetupResult::Stays;
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].valueIndex == valueIndex) {
      sensorSelection_ = static_cast<int>(i);
      break;
    }
  }
  return SetupResult::Stays;
}

// The failure text, or "" with the value index of the input's current sensor type.
std::string CCalibrationDlg::matchValueIndex(int input, int& valueIndex) {
  const std::vector<std::string> names = device_.sensorTypeNames(input);
  const std::string text = device_.sensorTypeText(input);
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == text) {
      valueIndex = static_cast<int>(i);
      return {};
    }
  }
  return "Странный ответ на \"in-t\": '" + text + "'\n";
}

bool CCalibrationDlg::currentValueIndex(int input, int& valueIndex) {
  // A retry reads the device again: the value already shown would give the same answer.
  bool readAgain = false;
  for (;;) {
    std::string failure;
    const std::string shown = device_.sensorTypeText(input);
    if (readAgain || shown.empty() || shown == model::kNoDataText) {
      failure = device_.readSensorType(input);
    }
    if (failure.empty()) failure = matchValueIndex(input, valueIndex);
    if (failure.empty()) return true;
    if (!askRetry(prompt_, failure + kReadRetryText, kReadProblemCaption)) return false;
    readAgain = true;
  }
}

bool CCalibrationDlg::writeSensorType(int input, int valueIndex) {
  for (;;) {
    const std::string failure = device_.writeSensorType(input, valueIndex);
    if (failure.empty()) return true;
    if (!askRetry(prompt_, failure + kWriteRetryText, kWriteProblemCaption)) return false;
  }
}

bool CCalibrationDlg::checkCode() {
  if (codeMatches(type_, codeText_)) {
    wrongCodes_.reset();
    return true;
  }
  prompt_.tell(kWrongCodeText, kErrorCaption, PromptIcon::Stop);
  return false;
}

SetupResult CCalibrationDlg::pressContinue() {
  if (type_ == 0) {
    prompt_.tell(kNoTypeText, kErrorCaption, PromptIcon::Stop);
    return SetupResult::Stays;
  }
  if (!checkCode()) return wrongCodes_.countWrong() ? SetupResult::Cancelled : SetupResult::Stays;
  step_ = StepParameters{type_, instructionText(1), 0};
  if (type_ == 3) return SetupResult::Accepted;
  if (sensorSelection_ < 0) return SetupResult::Stays;
  const SensorEntry& entry = sensorEntries(type_)[static_cast<size_t>(sensorSelection_)];
  if (type_ == 4) {
    if (inputSelection_ < 0) return SetupResult::Stays;
    step_.input = inputSelection_;
  }
  if (type_ == 1) step_.instruction = instructionText(entry.instruction);
  if (!writeSensorType(step_.input, entry.valueIndex)) return SetupResult::Cancelled;
  return SetupResult::Accepted;
}

}  // namespace zelmot::calibration
