#include "cli/calibration_wizard.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/calibration_link.h"
#include "calibration/calibration_dlg.h"
#include "calibration/setup_texts.h"
#include "cli/exit_codes.h"
#include "cli/terminal_line.h"
#include "document/zelmot_doc.h"

namespace zelmot::cli {
namespace {

using namespace calibration;

// Questions answered on the terminal: "д" (or "y") is Yes, anything else No.
class WizardPrompt final : public UserPrompt {
public:
  explicit WizardPrompt(Event& cancel) : cancel_(cancel) {}
  PromptAnswer ask(const std::string& text, const std::string& caption, PromptIcon,
                   PromptButtons buttons) override {
    std::printf("\n[%s]\n%s\n", caption.c_str(), text.c_str());
    if (buttons == PromptButtons::Ok) return PromptAnswer::Ok;
    std::printf("Да или нет (д/н)? ");
    std::fflush(stdout);
    std::string line;
    if (!readTerminalLine(cancel_, line)) return PromptAnswer::No;
    const bool yes = !line.empty() && (line.rfind("д", 0) == 0 || line.rfind("Д", 0) == 0 ||
                                       line[0] == 'y' || line[0] == 'Y');
    return yes ? PromptAnswer::Yes : PromptAnswer::No;
  }

private:
  Event& cancel_;
};

// Shows a numbered list (from 1, the current choice marked) and reads a number; -1 when
// the run was cancelled or the input ended.
int choose(Event& cancel, const char* label, const std::vector<std::string>& entries, int current) {
  for (;;) {
    std::printf("%s:\n", label);
    for (size_t i = 0; i < entries.size(); ++i) {
      std::printf(" %c%2zu) %s\n", static_cast<int>(i) == current ? '*' : ' ', i + 1,
                  entries[i].c_str());
    }
    std::printf("Номер%s: ", current >= 0 ? " (Enter - отмеченный)" : "");
    std::fflush(stdout);
    std::string line;
    if (!readTerminalLine(cancel, line)) return -1;
    if (line.empty() && current >= 0) return current;
    const long number = std::strtol(line.c_str(), nullptr, 10);
    if (number >= 1 && number <= static_cast<long>(entries.size())) return static_cast<int>(number - 1);
  }
}

std::vector<std::string> typeEntries() {
  std::vector<std::string> entries;
  for (int type = 1; type < kTypeCount; ++type) {
    entries.push_back(std::string(typeEntry(type)) + " - " + typeDescription(type));
  }
  return entries;
}

// The set-up's choices, one after the other, until "Продолжить" takes them.
SetupResult runSetup(CCalibrationDlg& dlg, Event& cancel) {
  std::printf("\n== %s ==\n", kSetupCaption);
  for (;;) {
    const int type = choose(cancel, "Тип юстировки", typeEntries(), dlg.type() - 1);
    if (type < 0) return SetupResult::Cancelled;
    if (dlg.selectType(type + 1) == SetupResult::Cancelled) return SetupResult::Cancelled;
    if (dlg.inputListShown()) {
      const int input = choose(cancel, kInputLabel, dlg.inputList(), dlg.inputSelection());
      if (input < 0 || dlg.selectInput(input) == SetupResult::Cancelled) return SetupResult::Cancelled;
    }
    if (dlg.sensorListShown()) {
      const int sensor = choose(cancel, kSensorLabel, dlg.sensorList(), dlg.sensorSelection());
      if (sensor < 0) return SetupResult::Cancelled;
      dlg.selectSensor(sensor);
    }
    std::printf("%s: ", kCodeLabel);
    std::fflush(stdout);
    std::string code;
    if (!readTerminalLine(cancel, code)) return SetupResult::Cancelled;
    dlg.setCodeText(code);
    const SetupResult result = dlg.pressContinue();
    if (result != SetupResult::Stays) return result;
  }
}

bool waitForEnter(Event& cancel, const StepView& view) {
  std::printf("\n== %s ==\n%s\n\n", view.caption.c_str(), view.instruction.c_str());
  if (view.continueEnabled) {
    std::printf("%s (Enter; Ctrl+C - %s) ", kContinueButton, kCancelButton);
  } else {
    std::printf("%s (Enter) ", kCancelButton);
  }
  std::fflush(stdout);
  std::string line;
  return readTerminalLine(cancel, line);
}

}  // namespace

int runCalibrationWizard(document::CZELMOTDoc& doc, WrongCodeCounter& wrongCodes, Event& cancel,
                         StepTiming timing) {
  const auto device = app::calibrationDevice(doc);
  WizardPrompt prompt(cancel);
  bool succeeded = false;
  FollowUp next = FollowUp::NewSetup;
  StepParameters parameters;
  while (next != FollowUp::None && !cancel.isSet()) {
    if (next == FollowUp::NewSetup) {
      CCalibrationDlg setup(*device, prompt, wrongCodes);
      if (runSetup(setup, cancel) != SetupResult::Accepted) break;
      parameters = setup.stepParameters();
    }
    auto dlg = makeTerminalStepDlg(*device, prompt, parameters, cancel, timing, false);
    const StepResult result =
        runTerminalSteps(*dlg, [&cancel](const StepView& view) { return waitForEnter(cancel, view); });
    dlg->leave();
    if (result == StepResult::Cancelled) break;
    succeeded = succeeded || dlg->succeeded();
    next = dlg->followUp();
  }
  std::printf("\n");
  return succeeded && !cancel.isSet() ? kExitOk : kExitFailures;
}

}  // namespace zelmot::cli
