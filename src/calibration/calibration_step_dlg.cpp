#include "calibration/calibration_step_dlg.h"

#include <cstdio>

#include "calibration/device_texts.h"
#include "calibration/step_texts.h"

namespace zelmot::calibration {
namespace {

constexpr int kSecondMs = 1000;
constexpr int kPositionSensorType = 4;
constexpr uint8_t kValveOpenBit = 128;
constexpr int kRefusalsBeforeQuestion = 4;

std::string pollingText(uint8_t flags, int counter) {
  char text[96];
  std::snprintf(text, sizeof text, "CLB.S: Флаг процесса=0x%02X. Ждем %i секунд...", flags, counter);
  return text;
}

}  // namespace

CCalibrationStepDlg::CCalibrationStepDlg(CalibrationDevice& device, UserPrompt& prompt,
                                         StepParameters parameters, Pause pause,
                                         std::function<void()> changed)
    : device_(device),
      prompt_(prompt),
      parameters_(std::move(parameters)),
      pause_(std::move(pause)),
      changed_(std::move(changed)) {
  view_.instruction = firstInstruction(parameters_.type, parameters_.instruction);
}

CCalibrationStepDlg::~CCalibrationStepDlg() { leave(); }

StepView CCalibrationStepDlg::view() const {
  std::lock_guard lock(mutex_);
  return view_;
}

std::string CCalibrationStepDlg::deviceStatusText() const {
  std::lock_guard lock(mutex_);
  return deviceStatus_;
}

std::string CCalibrationStepDlg::errorText() const {
  std::lock_guard lock(mutex_);
  return errorText_;
}

void CCalibrationStepDlg::sendAbort() { device_.command("CLB.A", 0, {}); }

void CCalibrationStepDlg::leave() {
  if (left_) return;
  left_ = true;
  sendAbort();
}

StepResult CCalibrationStepDlg::cancel() {
  sendAbort();
  return StepResult::Cancelled;
}

StepResult CCalibrationStepDlg::abandon() { return cancel(); }

bool CCalibrationStepDlg::wait(int ms) {
  if (pause_) {
    if (!cancelled() && !pause_(ms)) cancel_.set();
  } else {
    cancel_.wait(ms);
  }
  return !cancelled();
}

StepResult CCalibrationStepDlg::pressContinue() {
  if (cancelled()) return abandon();
  switch (view().step) {
    case Step::Start: return startStep();
    case Step::ReadResult: return readResultStep();
    case Step::Commit: return commitStep();
    case Step::Finished: return finishedStep();
    case Step::Failed: return failedStep();
  }
  return StepResult::Stays;
}

void CCalibrationStepDlg::decode(const std::vector<uint8_t>& reply, size_t offset) {
  // A reply too short to hold both bytes is an unknown status, never a success.
  const bool complete = reply.size() >= offset + 2;
  const uint8_t flags = complete ? reply[offset] : 0;
  const auto status = complete ? static_cast<int8_t>(reply[offset + 1]) : int8_t{-1};
  std::lock_guard lock(mutex_);
  processFlags_ = processFlagText(flags);
  deviceStatus_ = statusCodeText(status);
  errorFlag_ = status != 0;
}

bool CCalibrationStepDlg::send(const char* name, int requestFlag, const std::vector<uint8_t>& data,
                               const std::string& context, std::vector<uint8_t>& reply,
                               const char* retryCaption) {
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      errorText_.clear();
    }
    CommandReply answer = device_.command(name, requestFlag, data);
    if (answer.ok) {
      reply = std::move(answer.data);
      return true;
    }
    {
      std::lock_guard lock(mutex_);
      errorText_ = answer.errorText;
    }
    if (!answer.errorText.empty()) {
      prompt_.tell(answer.errorText, "Ошибка " + context, PromptIcon::Stop);
    }
    const PromptAnswer retry =
        prompt_.ask(kRetryQuestion, retryCaption != nullptr ? retryCaption : kRetryCaption,
                    PromptIcon::Question, PromptButtons::YesNo);
    if (retry != PromptAnswer::Yes || cancelled()) return false;
  }
}

StepResult CCalibrationStepDlg::startStep() {
  const int type = parameters_.type;
  const int valve = view().valve;
  update([&](StepView& v) {
    v.instruction = runningInstruction(type, valve);
    v.status = "Старт процесса юстировки (CLB.I)";
    v.continueShown = false;
  });
  std::vector<uint8_t> data{static_cast<uint8_t>(type)};
  if (type == kPositionSensorType) {
    data = {static_cast<uint8_t>(valve * kValveOpenBit + parameters_.input), 4};
  }
  std::vector<uint8_t> reply;
  if (!send("CLB.I", 0, data, "(Запуск процесс\x61 юстировки)", reply)) return StepResult::Cancelled;
  decode(reply, 0);
  update([](StepView& v) { v.status = "Старт процесса юстировки (CLB.S)"; });
  if (!wait(kSecondMs)) return abandon();
  return pollStatus(reply);
}

StepResult CCalibrationStepDlg::pollStatus(std::vector<uint8_t>& lastReply) {
  for (int counter = 1;; ++counter) {
    if (!wait(kSecondMs)) return abandon();
    CommandReply answer = device_.command("CLB.S", 1, {});
    {
      std::lock_guard lock(mutex_);
      errorText_ = answer.ok ? std::string() : answer.errorText;
    }
    if (answer.ok) lastReply = std::move(answer.data);
    if (counter == kMaxStatusPolls) {
      {
        std::lock_guard lock(mutex_);
        errorText_ = kPollTimeoutText;
      }
      update([](StepView& v) { v.status = kPollTimeoutText; });
      judgeMeasurements(lastReply, true);
      return StepResult::Stays;
    }
    const uint8_t flags = lastReply.empty() ? 0 : lastReply[0];
    update([&](StepView& v) { v.status = pollingText(flags, counter + 1); });
    if ((flags & kMeasurementsFinished) != 0) break;
  }
  judgeMeasurements(lastReply, false);
  return StepResult::Stays;
}

// A run whose measurements never finished has no result to fetch, whatever status its
// last reply carried: it ends as a failure with the time-out as the reason.
void CCalibrationStepDlg::judgeMeasurements(const std::vector<uint8_t>& reply, bool timedOut) {
  decode(reply, 0);
  bool failed = false;
  std::string reason;
  {
    std::lock_guard lock(mutex_);
    if (timedOut) {
      errorFlag_ = true;
      deviceStatus_ = kPollTimeoutText;
    }
    failed = errorFlag_;
    reason = deviceStatus_;
  }
  update([&](StepView& v) {
    v.continueShown = true;
    if (failed) {
      v.instruction = kFailedSearchText + reason;
      v.continueEnabled = false;
      v.status = "Ошибка";
    } else {
      v.instruction =
          "Юстировочные коэффициенты найдены и сохранены в приборе. Сейчас программа "
          "попытается прочитать найденные коэффициенты и будет осуществленна их проверка.\n"
          "Нажмите на кнопку «Продолжить»";
      v.status = "Измерения завершены...";
    }
    v.step = Step::ReadResult;
  });
}

StepResult CCalibrationStepDlg::commitStep() {
  if (parameters_.type != kPositionSensorType) {
    update([](StepView& v) { v.caption = kCommitCaption; });
  }
  for (int refusals = 0;;) {
    if (cancelled()) return abandon();
    std::vector<uint8_t> reply;
    if (!send("CLB.P", 0, {}, "(запись коэф-та)", reply, kCommitRetryCaption)) return abandon();
    decode(reply, 0);
    bool refused = false;
    {
      std::lock_guard lock(mutex_);
      refused = errorFlag_;
    }
    if (!refused) break;
    if (++refusals % kRefusalsBeforeQuestion != 0) continue;
    const bool again = prompt_.ask(deviceStatusText() + kRepeatAfterRefusalText, kRetryCaption,
                                   PromptIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes;
    if (again) followUp_ = FollowUp::NewSetup;
    return abandon();
  }
  if (parameters_.type == kPositionSensorType && view().valve == 0) {
    sendAbort();
    update([](StepView& v) {
      v.instruction =
          "Теперь установите запорно-регулирующий клапан (задвижку) в положение ОТКРЫТО и "
          "подтвердите готовность к проведению юстировки датчика в этом состоянии нажав на "
          "кнопку «Продолжить»";
      v.status = "Продолжение с другим положении клапана (задвижки)";
      v.valve = 1;
      v.step = Step::Start;
    });
    return StepResult::Stays;
  }
  const int type = parameters_.type;
  update([type](StepView& v) {
    v.instruction = finalText(type);
    v.status = "Завершение юстировки";
    v.step = Step::Finished;
  });
  return StepResult::Stays;
}

StepResult CCalibrationStepDlg::finishedStep() {
  sendAbort();
  succeeded_ = true;
  if (parameters_.type == kPositionSensorType &&
      prompt_.ask(kExitQuestion, "Сообщение", PromptIcon::Question, PromptButtons::YesNo) ==
          PromptAnswer::No) {
    followUp_ = FollowUp::NewSetup;
  }
  return StepResult::ClosedOk;
}

StepResult CCalibrationStepDlg::failedStep() {
  sendAbort();
  if (prompt_.ask(kRepeatQuestion, kRepeatCaption, PromptIcon::Question, PromptButtons::YesNo) ==
      PromptAnswer::Yes) {
    followUp_ = FollowUp::RepeatStep;
  }
  return StepResult::ClosedOk;
}

}  // namespace zelmot::calibration
