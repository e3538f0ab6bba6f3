// The input calibration from the device menu (or the command line's /calibrate): the
// set-up dialog, the step dialog, and the new set-up or repeated run a step asks for.
#include "app/calibration_link.h"
#include "calibration/calibration_dlg.h"
#include "calibration/calibration_step_dlg.h"
#include "ui/calibration_setup_dialog.h"
#include "ui/calibration_step_dialog.h"
#include "ui/main_frame.h"
#include "document/zelmot_doc.h"
#include "ui/link_worker.h"
#include "ui/tree_model.h"

namespace zelmot::ui {

bool CMainFrame::openCalibration() {
  const auto device = app::calibrationDevice(*doc_);
  bool succeeded = false;
  calibration::FollowUp next = calibration::FollowUp::NewSetup;
  calibration::StepParameters parameters;
  while (next != calibration::FollowUp::None) {
    if (next == calibration::FollowUp::NewSetup) {
      calibration::CCalibrationDlg setup(*device, prompt_, wrongCodes_);
      CalibrationSetupDialog setupView(setup, *worker_, this);
      if (setupView.exec() != QDialog::Accepted) break;
      parameters = setup.stepParameters();
    }
    CalibrationStepDialog* view = nullptr;
    calibration::CCalibrationStepDlg step(*device, prompt_, parameters, {}, [&view] {
      if (view != nullptr) view->stateChanged();
    });
    CalibrationStepDialog stepView(step, *worker_, this);
    view = &stepView;
    stepView.exec();
    view = nullptr;
    succeeded = succeeded || step.succeeded();
    next = step.followUp();
  }
  model_->refreshAll();
  updateStatusBar();
  return succeeded;
}

}  // namespace zelmot::ui
