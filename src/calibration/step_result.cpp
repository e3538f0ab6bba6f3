// Step 1 of the calibration sequence: the result of the measurements and the coefficients.
#include <algorithm>
#include <array>
#include <cstring>

#include "calibration/calibration_step_dlg.h"
#include "calibration/step_texts.h"

namespace zelmot::calibration {
namespace {

constexpr int kHalfSecondMs = 500;
constexpr size_t kValueReplySize = 5;
constexpr size_t kNoValueReplySize = 2;

int coefficientCount(int type) {
  if (type == 2) return 2;
  if (type == 3) return 4;
  return 1;
}

float bigEndianFloat(const uint8_t* bytes) {
  const uint32_t bits = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                        (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]};
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

bool CCalibrationStepDlg::readCoefficient(int number, const std::string& context,
                                          std::string& valueText) {
  std::vector<uint8_t> reply;
  if (!send("CLB.G", 1, {static_cast<uint8_t>(number)}, context, reply)) return false;
  valueText = kNoValueText;
  if (reply.size() == kValueReplySize) {
    valueText = coefficientText(bigEndianFloat(reply.data() + 1));
  } else if (reply.size() != kNoValueReplySize) {
    std::lock_guard lock(mutex_);
    errorFlag_ = true;
    deviceStatus_ = kWrongSizeText;
  }
  return true;
}

StepResult CCalibrationStepDlg::readResultStep() {
  update([](StepView& v) { v.status = "Прием измеренных коэф-тов с прибора..."; });
  if (!wait(kHalfSecondMs)) return abandon();
  update([](StepView& v) { v.instruction.clear(); });
  std::vector<uint8_t> reply;
  if (!send("CLB.T", 1, {}, "(поиск ошибочных коэффициентов)", reply)) {
    return StepResult::Cancelled;
  }
  decode(reply, 1);
  const int inError = reply.empty() ? 0 : reply[0];
  if (inError != 0) return reportCoefficientInError(inError);
  bool failed = false;
  {
    std::lock_guard lock(mutex_);
    failed = errorFlag_;
  }
  if (failed) {
    update([](StepView& v) { v.instruction = "Номер и значение ошибочного коэф-та неопределены."; });
  }
  return readCoefficients();
}

StepResult CCalibrationStepDlg::reportCoefficientInError(int number) {
  std::string value;
  if (!readCoefficient(number, "(определение ошибочного знач-я)", value)) {
    return StepResult::Cancelled;
  }
  const int type = parameters_.type;
  update([&](StepView& v) {
    v.instruction = coefficientInErrorText(value, type);
    v.step = Step::Failed;
  });
  return StepResult::Stays;
}

StepResult CCalibrationStepDlg::readCoefficients() {
  const int type = parameters_.type;
  std::array<std::string, 4> values;
  for (int k = 1; k <= coefficientCount(type); ++k) {
    if (cancelled()) return abandon();
    if (!readCoefficient(k, coefficientContext(type), values[static_cast<size_t>(k - 1)])) {
      return StepResult::Cancelled;
    }
  }
  allCoefficientsRead_ = std::find(values.begin(), values.begin() + coefficientCount(type),
                                   std::string(kNoValueText)) == values.begin() + coefficientCount(type);
  update([&](StepView& v) {
    v.instruction = coefficientsText(type, values.data());
    v.status = "Проверте коэффициент(ы)...";
    v.step = Step::Commit;
  });
  return StepResult::Stays;
}

}  // namespace zelmot::calibration
