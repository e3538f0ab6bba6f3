#pragma once
// The calibration on the terminal, with the texts, choices and questions of the desktop
// dialogs: numbered choices, the instruction shown before each step, Enter to go on.
// Ctrl+C (the cancel event) sends CLB.A and ends the run.
#include "calibration/access_codes.h"
#include "cli/calibration_steps.h"

namespace zelmot::document {
class CZELMOTDoc;
}

namespace zelmot::cli {

// 0 when a run ended with its coefficients committed, else 1.
int runCalibrationWizard(document::CZELMOTDoc& doc, calibration::WrongCodeCounter& wrongCodes,
                         Event& cancel, StepTiming timing);

}  // namespace zelmot::cli
