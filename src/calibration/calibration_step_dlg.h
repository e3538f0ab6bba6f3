#pragma once
// The state of the calibration step sequence ("Продолжение юстировки"). Each press of
// "Продолжить" runs the next step: start the device's calibration (CLB.I), poll it until
// its measurements are finished (CLB.S), fetch the result and the coefficients (CLB.T,
// CLB.G), commit them (CLB.P) and leave calibration mode (CLB.A). Position sensors are
// calibrated with the valve closed and then open.
//
// pressContinue() and cancel() talk to the device and wait: run them off the drawing
// thread. The texts are read through view() from any thread; `changed` is called (on the
// running thread) after every change. requestCancel() may be called from any thread and
// ends the waits at once. leave() sends the final CLB.A; the owner calls it when the
// dialog goes away, however it ended (the destructor does it when nobody did).
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "calibration/calibration_device.h"
#include "calibration/calibration_dlg.h"
#include "platform/event.h"
#include "platform/user_prompt.h"

namespace zelmot::calibration {

inline constexpr const char* kStepCaption = "Продолжение юстировки";
inline constexpr const char* kCommitCaption = "Завершение юстировки";
inline constexpr const char* kWelcomeText = "Добро пожаловать в утилиту юстировки!";
inline constexpr int kMaxStatusPolls = 12;

enum class Step { Start = 0, ReadResult = 1, Commit = 2, Finished = 4, Failed = 5 };

struct StepView {
  std::string caption = kStepCaption;
  std::string instruction;
  std::string status = kWelcomeText;
  bool continueShown = true;
  bool continueEnabled = true;
  Step step = Step::Start;
  int valve = 0;  // 0 closed, 1 open (position sensors)
};

enum class StepResult { Stays, ClosedOk, Cancelled };
// What runs after the dialog closed: nothing, a new set-up, or the same run once more.
enum class FollowUp { None, NewSetup, RepeatStep };

class CCalibrationStepDlg {
public:
  // Waits the given milliseconds; false when the wait was cancelled from outside (the
  // run is then cancelled). Without one the dialog waits on its cancel event; tests pass
  // a pause that does not sleep, the CLI one that also ends on Ctrl+C.
  using Pause = std::function<bool(int ms)>;

  CCalibrationStepDlg(CalibrationDevice& device, UserPrompt& prompt, StepParameters parameters,
                      Pause pause = {}, std::function<void()> changed = {});
  ~CCalibrationStepDlg();
  CCalibrationStepDlg(const CCalibrationStepDlg&) = delete;
  CCalibrationStepDlg& operator=(const CCalibrationStepDlg&) = delete;

  StepView view() const;
  const StepParameters& parameters() const { return parameters_; }

  StepResult pressContinue();
  // "Отмена": CLB.A, closed as cancelled.
  StepResult cancel();
  void requestCancel() { cancel_.set(); }
  Event& cancelEvent() { return cancel_; }
  void leave();

  FollowUp followUp() const { return followUp_; }
  // The run reached its end with the coefficients committed.
  bool succeeded() const { return succeeded_; }
  // Every coefficient of the last read came with its value (a commit is then informed).
  bool allCoefficientsRead() const { return allCoefficientsRead_; }
  // The device's last status text and the last transaction's error text.
  std::string deviceStatusText() const;
  std::string errorText() const;

private:
  StepResult startStep();
  StepResult pollStatus(std::vector<uint8_t>& lastReply);
  void judgeMeasurements(const std::vector<uint8_t>& reply, bool timedOut);
  StepResult readResultStep();
  StepResult reportCoefficientInError(int number);
  StepResult readCoefficients();
  StepResult commitStep();
  StepResult commitRefused(int refusals, bool& again);
  StepResult finishedStep();
  StepResult failedStep();

  // One command, repeated while the operator answers the failure's retry question with
  // Yes. False when the operator gave up (or cancelled).
  bool send(const char* name, int requestFlag, const std::vector<uint8_t>& data,
            const std::string& context, std::vector<uint8_t>& reply,
            const char* retryCaption = nullptr);
  // A coefficient by CLB.G; its text ("" when the reply carried none).
  bool readCoefficient(int number, const std::string& context, std::string& valueText);
  void decode(const std::vector<uint8_t>& reply, size_t offset);
  bool wait(int ms);
  bool cancelled() const { return cancel_.isSet(); }
  StepResult abandon();
  void sendAbort();

  template <typename Change>
  void update(Change change) {
    {
      std::lock_guard lock(mutex_);
      change(view_);
    }
    if (changed_) changed_();
  }

  CalibrationDevice& device_;
  UserPrompt& prompt_;
  const StepParameters parameters_;
  Pause pause_;
  std::function<void()> changed_;
  Event cancel_{Event::Reset::Manual};

  mutable std::mutex mutex_;  // guards view_ and the texts below
  StepView view_;
  std::string deviceStatus_;
  std::string processFlags_;
  std::string errorText_;
  bool errorFlag_ = false;

  FollowUp followUp_ = FollowUp::None;
  bool succeeded_ = false;
  bool allCoefficientsRead_ = false;
  bool left_ = false;
};

}  // namespace zelmot::calibration
