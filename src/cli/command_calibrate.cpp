// calibrate: the calibration of the device's inputs, as a terminal wizard or unattended
// with every choice given on the command line.
#include <cstdio>
#include <memory>

#include "app/calibration_link.h"
#include "calibration/calibration_dlg.h"
#include "calibration/setup_texts.h"
#include "cli/calibration_wizard.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/terminal_prompt.h"
#include "exchange/device_link.h"

namespace zelmot::cli {
namespace {

using namespace calibration;

constexpr const char* kUncheckedCommitText =
    "Не все коэффициенты получены с прибора, без проверки они не записываются. ";

struct CalibrateArgs {
  int type = 0;
  int sensor = 0;  // list position from 1
  int input = 1;   // 1..8
  std::string code;
  bool yes = false;
  int secondMs = 1000;
};

// Why the set-up did not take the choices; "" when it did (or a message already said so).
const char* refusalText(const CCalibrationDlg& dlg) {
  if (dlg.sensorListShown() && dlg.sensorSelection() < 0) return "Тип датчика не выбран";
  return "";
}

int checkArgs(const CalibrateArgs& args) {
  if (!args.yes || args.code.empty()) {
    std::fprintf(stderr, "Без окна юстировке нужны --type, --code и --yes (или ни одного из "
                         "них для пошагового режима)\n");
    return kExitUsage;
  }
  const auto sensors = sensorEntries(args.type);
  if (!sensors.empty() && (args.sensor < 1 || args.sensor > static_cast<int>(sensors.size()))) {
    std::fprintf(stderr, "--sensor: номер от 1 до %zu для типа %d\n", sensors.size(), args.type);
    return kExitUsage;
  }
  return kExitOk;
}

// Nobody answers: every question that would repeat or go on after a failure gets No.
int runUnattended(Session& session, WrongCodeCounter& wrongCodes, const CalibrateArgs& args) {
  if (const int bad = checkArgs(args); bad != kExitOk) return bad;
  const auto device = app::calibrationDevice(session.doc());
  TerminalPrompt prompt({}, PromptAnswer::No);
  CCalibrationDlg setup(*device, prompt, wrongCodes);
  if (setup.selectType(args.type) == SetupResult::Cancelled) return kExitFailures;
  if (setup.inputListShown() && setup.selectInput(args.input - 1) == SetupResult::Cancelled) {
    return kExitFailures;
  }
  setup.selectSensor(args.sensor - 1);
  setup.setCodeText(args.code);
  const SetupResult accepted = setup.pressContinue();
  if (accepted != SetupResult::Accepted) {
    if (accepted == SetupResult::Stays && *refusalText(setup) != '\0') {
      std::fprintf(stderr, "%s\n", refusalText(setup));
    }
    return kExitFailures;
  }
  Event& cancel = session.doc().deviceLink().engine().cancelEvent();
  auto dlg = makeTerminalStepDlg(*device, prompt, setup.stepParameters(), cancel,
                                 {args.secondMs}, session.options().quiet);
  // Coefficients that came without a value are not committed unseen.
  std::string stoppedFor;
  runTerminalSteps(*dlg, [&](const StepView& view) {
    if (view.step != Step::Commit || dlg->allCoefficientsRead()) return true;
    stoppedFor = std::string(kUncheckedCommitText) + dlg->deviceStatusText();
    return false;
  });
  const StepView last = dlg->view();
  dlg->leave();
  if (dlg->succeeded() && !cancel.isSet()) {
    printNote(session, last.instruction);
    return kExitOk;
  }
  std::fprintf(stderr, "%s\n", stoppedFor.empty() ? last.instruction.c_str() : stoppedFor.c_str());
  return kExitFailures;
}

int runCalibrate(Session& session, const CalibrateArgs& args) {
  WrongCodeCounter wrongCodes;  // one run of the program
  if (args.type != 0) return runUnattended(session, wrongCodes, args);
  if (args.yes || !args.code.empty()) {
    std::fprintf(stderr, "--code и --yes нужны вместе с --type\n");
    return kExitUsage;
  }
  return runCalibrationWizard(session.doc(), wrongCodes,
                              session.doc().deviceLink().engine().cancelEvent(), {args.secondMs});
}

}  // namespace

void addCalibrateCommand(CommandSet& set) {
  auto args = std::make_shared<CalibrateArgs>();
  CLI::App* command = set.add(
      "calibrate",
      "Юстировка входов: пошагово на терминале, или без вопросов с --type, --sensor, "
      "--input, --code и --yes",
      CommandNeeds::Device, [args](Session& session) { return runCalibrate(session, *args); });
  command->add_option("--type", args->type, "Тип юстировки 1..4")->check(CLI::Range(1, 4));
  command->add_option("--sensor", args->sensor, "Номер типа датчика в списке типа (с 1)");
  command->add_option("--input", args->input, "Номер канала 1..8 (тип 4)")->check(CLI::Range(1, 8));
  command->add_option("--code", args->code, "Код доступа типа юстировки");
  command->add_flag("--yes", args->yes, "Отвечать на каждый вопрос \"продолжить\"; отказ, о "
                                        "котором прибор спросил бы, завершает работу");
  command->add_option("--second-ms", args->secondMs,
                      "Сколько мс ждать вместо каждой секунды между командами (по умолчанию "
                      "1000; меньше - для симулятора)")
      ->check(CLI::Range(1, 10000));
}

}  // namespace zelmot::cli
