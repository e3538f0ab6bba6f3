#pragma once
// The calibration step sequence on the terminal, shared by the wizard and the unattended
// run: the status line as it changes, a wait on the run's cancel event, and the presses of
// "Продолжить" until the run ends.
#include <functional>
#include <memory>

#include "calibration/calibration_step_dlg.h"
#include "platform/event.h"

namespace zelmot::cli {

struct StepTiming {
  int secondMs = 1000;  // what the sequence waits as one second
};

// A step dialog whose waits end on `cancel` (Ctrl+C), printing its status line.
std::unique_ptr<calibration::CCalibrationStepDlg> makeTerminalStepDlg(
    calibration::CalibrationDevice& device, UserPrompt& prompt,
    const calibration::StepParameters& parameters, Event& cancel, StepTiming timing, bool quiet);

// Presses "Продолжить" while `goOn` (called with the view before each press) agrees; a run
// stopped there, or one whose button went disabled, is cancelled (CLB.A).
calibration::StepResult runTerminalSteps(calibration::CCalibrationStepDlg& dlg,
                                         const std::function<bool(const calibration::StepView&)>& goOn);

}  // namespace zelmot::cli
