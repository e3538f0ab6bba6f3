// The calibration step sequence against a device in memory: the commands each step sends,
// the polling limit, the coefficient texts, the commit refusals, the two valve positions
// of type 4, and CLB.A on every way out.
#include <gtest/gtest.h>

#include "calibration/calibration_step_dlg.h"
#include "calibration/step_texts.h"
#include "fake_calibration_device.h"
#include "support/recording_prompt.h"

namespace zelmot::calibration::testing {
namespace {

using test_support::RecordingPrompt;
using Lines = std::vector<std::string>;

struct StepRun {
  explicit StepRun(int type, int input = 0, PromptAnswer standing = PromptAnswer::No)
      : prompt(standing),
        dlg(device, prompt, {type, "инструкция", input}, [this](int ms) {
          waits.push_back(ms);
          return true;
        }) {}
  // Presses "Продолжить" until the dialog closes or the button is disabled.
  StepResult runToEnd() {
    for (int presses = 0; presses < 20; ++presses) {
      if (!dlg.view().continueEnabled) return StepResult::Stays;
      const StepResult result = dlg.pressContinue();
      if (result != StepResult::Stays) return result;
    }
    return StepResult::Stays;
  }
  FakeCalibrationDevice device;
  RecordingPrompt prompt;
  std::vector<int> waits;
  CCalibrationStepDlg dlg;
};

TEST(CalibrationSteps, TypeOneRunsTheWholeSequence) {
  StepRun run(1);
  EXPECT_EQ(run.dlg.view().instruction, "инструкция");
  EXPECT_EQ(run.dlg.view().status, "Добро пожаловать в утилиту юстировки!");
  EXPECT_EQ(run.dlg.pressContinue(), StepResult::Stays);
  EXPECT_EQ(run.dlg.view().status, "Измерения завершены...");
  EXPECT_EQ(run.dlg.view().step, Step::ReadResult);
  EXPECT_EQ(run.waits, (std::vector<int>{1000, 1000}));
  EXPECT_EQ(run.dlg.pressContinue(), StepResult::Stays);
  EXPECT_EQ(run.dlg.view().instruction,
            "Значение коэффициента:  1.000000 \nГотовность подтвердите нажав на кнопку "
            "«Продолжить»\n\nВсе коэффициенты вычислены нормально");
  EXPECT_TRUE(run.dlg.allCoefficientsRead());
  EXPECT_EQ(run.dlg.pressContinue(), StepResult::Stays);
  EXPECT_EQ(run.dlg.view().caption, "Завершение юстировки");
  EXPECT_EQ(run.dlg.view().instruction, finalText(1));
  EXPECT_EQ(run.dlg.pressContinue(), StepResult::ClosedOk);
  EXPECT_TRUE(run.dlg.succeeded());
  run.dlg.leave();
  EXPECT_EQ(run.device.sent, (Lines{"CLB.I [01]", "CLB.S []", "CLB.T []", "CLB.G [01]",
                                    "CLB.P []", "CLB.A []", "CLB.A []"}));
  EXPECT_EQ(run.prompt.count(), 0u);
}

TEST(CalibrationSteps, ANeverFinishingDeviceGetsTwelvePollsAndFails) {
  StepRun run(2);
  for (int i = 0; i < 20; ++i) run.device.script("CLB.S", {FakeCalibrationDevice::reply({0x01, 0})});
  run.dlg.pressContinue();
  const Lines names = run.device.commandNames();
  EXPECT_EQ(std::count(names.begin(), names.end(), "CLB.S"), kMaxStatusPolls);
  EXPECT_EQ(run.dlg.view().status, "Ошибка");
  EXPECT_EQ(run.dlg.errorText(), "CLB.S: ошибка: таймаут");
  EXPECT_EQ(run.dlg.view().instruction,
            "Процесс поиска измерения юстировки завершен неудачно: CLB.S: ошибка: таймаут");
  EXPECT_FALSE(run.dlg.view().continueEnabled) << "a time-out with status 0 is no success";
}

TEST(CalibrationSteps, AFailedPollDoesNotEndPolling) {
  StepRun run(1);
  run.device.script("CLB.S", {FakeCalibrationDevice::failure("Таймаут при передаче данных (нет связи)"),
                              FakeCalibrationDevice::reply({0x01, 0}),
                              FakeCalibrationDevice::reply({0x81, 0})});
  run.dlg.pressContinue();
  EXPECT_EQ(run.device.commandNames(), (Lines{"CLB.I", "CLB.S", "CLB.S", "CLB.S"}));
  EXPECT_EQ(run.dlg.view().step, Step::ReadResult);
  EXPECT_TRUE(run.dlg.view().continueEnabled);
  EXPECT_EQ(run.prompt.count(), 0u) << "a failed poll asks nothing";
}

TEST(CalibrationSteps, DeviceStatusAfterPollingEndsTheRun) {
  StepRun run(1);
  run.device.script("CLB.S", {FakeCalibrationDevice::reply({0x80, 7})});
  run.dlg.pressContinue();
  EXPECT_EQ(run.dlg.view().instruction,
            "Процесс поиска измерения юстировки завершен неудачно: Обрыв датчика при юстировке.\n");
  EXPECT_FALSE(run.dlg.view().continueEnabled);
  EXPECT_EQ(run.dlg.cancel(), StepResult::Cancelled);
  run.dlg.leave();
  EXPECT_EQ(run.device.commandNames(), (Lines{"CLB.I", "CLB.S", "CLB.A", "CLB.A"}));
}

TEST(CalibrationSteps, TypeFourCalibratesBothValvePositions) {
  StepRun run(4, 3, PromptAnswer::Yes);
  EXPECT_EQ(run.runToEnd(), StepResult::ClosedOk);
  run.dlg.leave();
  EXPECT_EQ(run.device.sent,
            (Lines{"CLB.I [03 04]", "CLB.S []", "CLB.T []", "CLB.G [01]", "CLB.P []", "CLB.A []",
                   "CLB.I [83 04]", "CLB.S []", "CLB.T []", "CLB.G [01]", "CLB.P []", "CLB.A []",
                   "CLB.A []"}));
  ASSERT_EQ(run.prompt.count(), 1u);
  EXPECT_EQ(run.prompt.calls()[0].text, "Выйти из юстировки?\n(нет - повторить с новым каналом)");
  EXPECT_EQ(run.dlg.followUp(), FollowUp::None);
}

TEST(CalibrationSteps, TypeFourCanGoOnWithAnotherInput) {
  StepRun run(4, 0, PromptAnswer::No);
  EXPECT_EQ(run.runToEnd(), StepResult::ClosedOk);
  EXPECT_EQ(run.dlg.followUp(), FollowUp::NewSetup);
}

TEST(CalibrationSteps, ThreeRefusedCommitsAreRepeatedSilentlyTheFourthAsks) {
  StepRun run(3);
  const auto refusal = FakeCalibrationDevice::reply({0x80, 15});
  run.device.script("CLB.P", {refusal, refusal, refusal});
  EXPECT_EQ(run.runToEnd(), StepResult::ClosedOk);
  EXPECT_EQ(run.prompt.count(), 0u);

  StepRun refused(3);
  refused.device.script("CLB.P", {refusal, refusal, refusal, refusal});
  refused.prompt.scriptAnswers({PromptAnswer::Yes});
  EXPECT_EQ(refused.runToEnd(), StepResult::Cancelled);
  const Lines names = refused.device.commandNames();
  EXPECT_EQ(std::count(names.begin(), names.end(), "CLB.P"), 4);
  EXPECT_EQ(names.back(), "CLB.A");
  ASSERT_EQ(refused.prompt.count(), 1u);
  EXPECT_EQ(refused.prompt.calls()[0].text,
            "Возникла ошибка при записи результатов юстировки в EEPROM.\nДля повтора юстировки "
            "нажмите кнопку Да");
  EXPECT_EQ(refused.dlg.followUp(), FollowUp::NewSetup);
}

TEST(CalibrationSteps, CommitFailureAsksWithItsOwnCaption) {
  StepRun run(1);
  run.device.script("CLB.P", {FakeCalibrationDevice::failure("Таймаут при передаче данных (нет связи)")});
  EXPECT_EQ(run.runToEnd(), StepResult::Cancelled);
  const auto calls = run.prompt.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].caption, "Ошибка (запись коэф-та)");
  EXPECT_EQ(calls[1].caption, "Ошибка юстировки (WriteCalibration)");
  EXPECT_EQ(run.device.commandNames().back(), "CLB.A") << "No sends CLB.A";
}

TEST(CalibrationSteps, FailedTransactionIsShownAndRepeatedOnYes) {
  StepRun run(2);
  run.device.script("CLB.I", {FakeCalibrationDevice::failure("Ошибка контрольной суммы")});
  run.prompt.scriptAnswers({PromptAnswer::Yes});
  run.dlg.pressContinue();
  const auto calls = run.prompt.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].text, "Ошибка контрольной суммы");
  EXPECT_EQ(calls[0].caption, "Ошибка (Запуск процессa юстировки)");
  EXPECT_EQ(calls[1].caption, "Ошибка юстировки");
  EXPECT_EQ(run.device.commandNames(), (Lines{"CLB.I", "CLB.I", "CLB.S"}));
}

TEST(CalibrationSteps, CoefficientInErrorLeadsToTheRepeatQuestion) {
  StepRun run(2);
  run.device.script("CLB.T", {FakeCalibrationDevice::reply({2, 0x80, 0})});
  run.device.script("CLB.G", {FakeCalibrationDevice::reply({2, 0x42, 0x66, 0, 0})});
  run.prompt.scriptAnswers({PromptAnswer::Yes});
  EXPECT_EQ(run.runToEnd(), StepResult::ClosedOk);
  EXPECT_EQ(run.device.sent, (Lines{"CLB.I [02]", "CLB.S []", "CLB.T []", "CLB.G [02]", "CLB.A []"}));
  EXPECT_FALSE(run.dlg.succeeded());
  EXPECT_EQ(run.dlg.followUp(), FollowUp::RepeatStep);
  EXPECT_EQ(run.prompt.calls()[0].caption, "Вопрос о повторе калибкровки");
}

TEST(CalibrationSteps, CoefficientTextsOfEachType) {
  EXPECT_EQ(coefficientText(1.0f), "1.000000");
  EXPECT_EQ(coefficientText(-0.0153f), "-0.015300");
  StepRun run(3);
  run.device.script("CLB.T", {FakeCalibrationDevice::reply({0, 0x80, 5})});
  run.device.script("CLB.G", {FakeCalibrationDevice::reply({1, 0x3F, 0x80, 0, 0}),
                              FakeCalibrationDevice::reply({0x80, 32}),
                              FakeCalibrationDevice::reply({3, 0x3F, 0x80, 0}),
                              FakeCalibrationDevice::reply({4, 0xBF, 0x80, 0, 0})});
  run.dlg.pressContinue();
  run.dlg.pressContinue();
  EXPECT_EQ(run.dlg.view().instruction,
            "Значение первого коэффициента:\n  K1= 1.000000\n\nЗначение второго "
            "коэффициента:\n  K2= (нет значения)\n\nЗначение третьего коэффициента:\n  K3= (нет "
            "значения)\n\nЗначение четвертого коэффициента:\n  K4= -1.000000\n\n\n\nГотовность "
            "подтвердите нажав на кнопку «Продолжить»\n\nВсе коэффициенты вычислены нормально");
  EXPECT_EQ(run.dlg.deviceStatusText(), "Размер квитанции на команду CLB.G не равер ни 2 ни 5!");
  EXPECT_EQ(run.dlg.view().step, Step::Commit);
  EXPECT_FALSE(run.dlg.allCoefficientsRead());
}

TEST(CalibrationSteps, AReplyTooShortForItsStatusIsNoSuccess) {
  StepRun run(1);
  run.device.script("CLB.T", {FakeCalibrationDevice::reply({0})});
  run.dlg.pressContinue();
  run.dlg.pressContinue();
  EXPECT_EQ(run.dlg.deviceStatusText(), "Неизвестная ошибка кода статуса.\n");
  EXPECT_EQ(run.dlg.view().step, Step::Commit);
}

TEST(CalibrationSteps, CancelDuringAWaitSendsAbortAtOnce) {
  FakeCalibrationDevice device;
  RecordingPrompt prompt;
  CCalibrationStepDlg* self = nullptr;
  CCalibrationStepDlg dlg(device, prompt, {1, "", 0}, [&](int) {
    self->requestCancel();
    return true;
  });
  self = &dlg;
  EXPECT_EQ(dlg.pressContinue(), StepResult::Cancelled);
  dlg.leave();
  dlg.leave();
  EXPECT_EQ(device.commandNames(), (Lines{"CLB.I", "CLB.A", "CLB.A"}));
}

TEST(CalibrationSteps, DestructionLeavesCalibrationMode) {
  FakeCalibrationDevice device;
  RecordingPrompt prompt;
  { CCalibrationStepDlg dlg(device, prompt, {1, "", 0}, [](int) { return true; }); }
  EXPECT_EQ(device.sent, (Lines{"CLB.A []"}));
}

TEST(CalibrationSteps, APauseEndedFromOutsideCancelsTheRun) {
  FakeCalibrationDevice device;
  RecordingPrompt prompt;
  CCalibrationStepDlg dlg(device, prompt, {2, "", 0}, [](int) { return false; });
  EXPECT_EQ(dlg.pressContinue(), StepResult::Cancelled);
  EXPECT_EQ(device.commandNames(), (Lines{"CLB.I", "CLB.A"}));
}

TEST(CalibrationSteps, DefaultWaitEndsOnCancel) {
  FakeCalibrationDevice device;
  RecordingPrompt prompt;
  CCalibrationStepDlg dlg(device, prompt, {1, "", 0});
  dlg.requestCancel();  // before the press: nothing waits a whole second
  EXPECT_EQ(dlg.pressContinue(), StepResult::Cancelled);
  EXPECT_EQ(device.commandNames(), (Lines{"CLB.A"}));
}

}  // namespace
}  // namespace zelmot::calibration::testing
