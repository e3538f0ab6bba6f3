#include "cli/calibration_steps.h"

#include <cstdio>
#include <string>

namespace zelmot::cli {

using calibration::CCalibrationStepDlg;
using calibration::StepResult;
using calibration::StepView;

namespace {

// Prints the status line whenever it changes.
struct StatusPrinter {
  const CCalibrationStepDlg* dlg = nullptr;
  std::string shown;
  void operator()() {
    if (dlg == nullptr) return;
    const std::string status = dlg->view().status;
    if (status == shown) return;
    shown = status;
    std::printf("  %s\n", status.c_str());
    std::fflush(stdout);
  }
};

}  // namespace

std::unique_ptr<CCalibrationStepDlg> makeTerminalStepDlg(
    calibration::CalibrationDevice& device, UserPrompt& prompt,
    const calibration::StepParameters& parameters, Event& cancel, StepTiming timing, bool quiet) {
  auto printer = std::make_shared<StatusPrinter>();
  auto pause = [&cancel, timing](int ms) {
    return !cancel.wait(static_cast<int>(static_cast<long long>(ms) * timing.secondMs / 1000));
  };
  std::function<void()> changed;
  if (!quiet) changed = [printer] { (*printer)(); };
  auto dlg = std::make_unique<CCalibrationStepDlg>(device, prompt, parameters, pause, changed);
  printer->dlg = dlg.get();  // the dialog calls back only while it runs a step
  return dlg;
}

StepResult runTerminalSteps(CCalibrationStepDlg& dlg,
                            const std::function<bool(const StepView&)>& goOn) {
  for (;;) {
    const StepView view = dlg.view();
    if (!goOn(view) || !view.continueEnabled) return dlg.cancel();
    const StepResult result = dlg.pressContinue();
    if (result != StepResult::Stays) return result;
  }
}

}  // namespace zelmot::cli
