#include "ui/calibration_step_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "calibration/calibration_step_dlg.h"
#include "calibration/setup_texts.h"
#include "ui/link_worker.h"
#include "ui/calibration_buttons.h"
#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

using calibration::StepResult;

constexpr int kInstructionLines = 12;
constexpr int kInstructionColumns = 64;

}  // namespace

CalibrationStepDialog::CalibrationStepDialog(calibration::CCalibrationStepDlg& state,
                                             LinkWorker& worker, QWidget* parent)
    : QDialog(parent), state_(state), worker_(worker) {
  auto* layout = new QVBoxLayout(this);
  instruction_ = new QPlainTextEdit(this);
  instruction_->setReadOnly(true);
  instruction_->setMinimumSize(instruction_->fontMetrics().averageCharWidth() * kInstructionColumns,
                               instruction_->fontMetrics().lineSpacing() * kInstructionLines);
  layout->addWidget(instruction_);
  const CalibrationButtons buttons = addCalibrationButtons(this, layout);
  continue_ = buttons.continueButton;
  cancel_ = buttons.cancelButton;
  status_ = new QLabel(this);
  status_->setFrameShape(QFrame::StyledPanel);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(status_);
  connect(continue_, &QPushButton::clicked, this, &CalibrationStepDialog::onContinue);
  connect(cancel_, &QPushButton::clicked, this, &CalibrationStepDialog::reject);
  showState();
}

void CalibrationStepDialog::stateChanged() {
  QMetaObject::invokeMethod(this, [this] { showState(); }, Qt::QueuedConnection);
}

void CalibrationStepDialog::showState() {
  const calibration::StepView view = state_.view();
  setWindowTitle(toQt(view.caption));
  instruction_->setPlainText(toQt(view.instruction));
  status_->setText(toQt(view.status));
  continue_->setVisible(view.continueShown);
  continue_->setEnabled(view.continueEnabled && !running_ && !closing_);
  cancel_->setEnabled(!closing_);
}

void CalibrationStepDialog::onContinue() {
  if (running_ || closing_) return;
  auto result = std::make_shared<StepResult>(StepResult::Stays);
  running_ = true;
  setCursor(Qt::WaitCursor);
  showState();
  const bool started = worker_.run([this, result] { *result = state_.pressContinue(); },
                                   [this, result] {
                                     running_ = false;
                                     unsetCursor();
                                     if (*result != StepResult::Stays) return finish(*result);
                                     showState();
                                   });
  if (!started) {
    running_ = false;
    unsetCursor();
    showState();
  }
}

// "Отмена" (and Escape): a running step stops at its next wait and sends CLB.A itself;
// otherwise CLB.A is sent here.
void CalibrationStepDialog::reject() {
  if (closing_) return;
  if (running_) {
    state_.requestCancel();
    return;
  }
  auto result = std::make_shared<StepResult>(StepResult::Cancelled);
  running_ = true;
  const bool started = worker_.run([this, result] { *result = state_.cancel(); },
                                   [this, result] {
                                     running_ = false;
                                     finish(*result);
                                   });
  if (!started) {
    running_ = false;
    finish(StepResult::Cancelled);
  }
}

void CalibrationStepDialog::finish(StepResult result) {
  closing_ = true;
  showState();
  const auto close = [this, result] {
    if (result == StepResult::ClosedOk) QDialog::accept();
    else QDialog::reject();
  };
  if (!worker_.run([this] { state_.leave(); }, close)) close();
}

}  // namespace zelmot::ui
