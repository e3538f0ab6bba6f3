// The calibration dialogs against the simulator: "Создание юстировки" with a type chosen
// and "Продолжение юстировки" while it polls (its status line drawn during the wait),
// saved as PNG files; a cancel during a wait ends the run with CLB.A at once.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "app/calibration_link.h"
#include "calibration/calibration_dlg.h"
#include "calibration/calibration_step_dlg.h"
#include "sim_process.h"
#include "ui/calibration_setup_dialog.h"
#include "ui/calibration_step_dialog.h"
#include "ui/link_worker.h"

namespace zelmot::ui::testing {
namespace {

QString shotPath(const char* name) {
  QDir().mkpath(ZELMOT_SCREENSHOT_DIR);
  return QString(ZELMOT_SCREENSHOT_DIR) + "/" + name;
}

int count(const std::string& log, const std::string& what) {
  int found = 0;
  for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++found;
  return found;
}

struct CalibrationFixture {
  explicit CalibrationFixture(const QStringList& simOptions)
      : sim(simOptions), frame(sim.slavePath()) {}
  bool ready() const { return !sim.slavePath().empty() && frame.frame != nullptr; }
  SimProcess sim;
  FrameFixture frame;
};

TEST(CalibrationScreens, SetUpThenStepsWithTheStatusLineWhileWaiting) {
  CalibrationFixture fixture({"--calibration-seconds", "4"});
  ASSERT_TRUE(fixture.ready());
  CMainFrame& frame = *fixture.frame.frame;
  ASSERT_TRUE(waitUntil([&] { return !frame.linkWorker().busy(); }));
  const auto device = app::calibrationDevice(frame.document());
  calibration::WrongCodeCounter wrongCodes;
  calibration::CCalibrationDlg setup(*device, fixture.frame.prompt, wrongCodes);
  CalibrationSetupDialog setupView(setup, frame.linkWorker(), &frame);
  setupView.show();
  setupView.typeList()->setCurrentIndex(1);
  emit setupView.typeList()->activated(1);
  ASSERT_TRUE(waitUntil([&] { return setupView.sensorList()->count() == 25; }));
  EXPECT_TRUE(setupView.sensorList()->isVisible());
  EXPECT_FALSE(setupView.inputList()->isVisible());
  setupView.sensorList()->setCurrentIndex(20);
  emit setupView.sensorList()->activated(20);
  QCoreApplication::processEvents();
  // Taken before the code is typed: the codes are not shown anywhere.
  EXPECT_TRUE(setupView.grab().save(shotPath("calibration_setup.png")));
  setupView.codeField()->setText(QString::number(calibration::accessCode(1)));
  setupView.continueButton()->click();
  ASSERT_TRUE(waitUntil([&] { return setupView.result() == QDialog::Accepted; }));

  CalibrationStepDialog* view = nullptr;
  calibration::CCalibrationStepDlg step(*device, fixture.frame.prompt, setup.stepParameters(), {},
                                        [&view] { view->stateChanged(); });
  CalibrationStepDialog stepView(step, frame.linkWorker(), &frame);
  view = &stepView;
  stepView.show();
  EXPECT_NE(stepView.instruction()->toPlainText().indexOf("20,00 мА"), -1);
  stepView.continueButton()->click();
  // The window keeps drawing while the worker waits between the polls.
  ASSERT_TRUE(waitUntil([&] { return stepView.statusLine()->text().startsWith("CLB.S: Флаг процесса=0x01"); }));
  EXPECT_FALSE(stepView.continueButton()->isVisible());
  EXPECT_TRUE(stepView.grab().save(shotPath("calibration_step_waiting.png")));
  ASSERT_TRUE(waitUntil([&] { return stepView.continueButton()->isVisible() && stepView.continueButton()->isEnabled(); }));
  EXPECT_EQ(stepView.statusLine()->text(), "Измерения завершены...");
  stepView.continueButton()->click();
  ASSERT_TRUE(waitUntil([&] { return stepView.statusLine()->text() == "Проверте коэффициент(ы)..."; }));
  QCoreApplication::processEvents();
  EXPECT_TRUE(stepView.grab().save(shotPath("calibration_step_coefficients.png")));
  stepView.continueButton()->click();
  ASSERT_TRUE(waitUntil([&] { return stepView.statusLine()->text() == "Завершение юстировки"; }));
  EXPECT_EQ(stepView.windowTitle(), "Завершение юстировки");
  stepView.continueButton()->click();
  ASSERT_TRUE(waitUntil([&] { return stepView.result() == QDialog::Accepted; }));
  EXPECT_TRUE(step.succeeded());
  EXPECT_EQ(count(fixture.sim.log(), "write 0x3A47 CLB.P"), 1);
  EXPECT_EQ(count(fixture.sim.log(), "write 0x41C1 CLB.A"), 2) << "the last step and the close";
}

TEST(CalibrationScreens, CancelDuringAWaitSendsAbortAndCloses) {
  CalibrationFixture fixture({"--calibration-fault", "unfinished"});
  ASSERT_TRUE(fixture.ready());
  CMainFrame& frame = *fixture.frame.frame;
  ASSERT_TRUE(waitUntil([&] { return !frame.linkWorker().busy(); }));
  const auto device = app::calibrationDevice(frame.document());
  CalibrationStepDialog* view = nullptr;
  calibration::CCalibrationStepDlg step(*device, fixture.frame.prompt, {3, "", 0}, {},
                                        [&view] { view->stateChanged(); });
  CalibrationStepDialog stepView(step, frame.linkWorker(), &frame);
  view = &stepView;
  stepView.show();
  stepView.continueButton()->click();
  ASSERT_TRUE(waitUntil([&] { return stepView.statusLine()->text().startsWith("CLB.S:"); }));
  stepView.cancelButton()->click();
  ASSERT_TRUE(waitUntil([&] { return stepView.result() == QDialog::Rejected && !stepView.isVisible(); }, 5000));
  const std::string log = fixture.sim.log();
  EXPECT_LT(count(log, "read  0x7DA3 CLB.S"), 12) << "the wait ended at once";
  EXPECT_EQ(count(log, "write 0x41C1 CLB.A"), 2);
}

}  // namespace
}  // namespace zelmot::ui::testing
