#include "ui/calibration_setup_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "calibration/calibration_dlg.h"
#include "calibration/setup_texts.h"
#include "ui/link_worker.h"
#include "ui/calibration_buttons.h"
#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

using calibration::SetupResult;

constexpr int kDropDownExtraPx = 100;
constexpr int kDescriptionLines = 4;

void fill(QComboBox* list, const std::vector<std::string>& entries, int selection) {
  list->clear();
  for (const std::string& entry : entries) list->addItem(toQt(entry));
  list->setCurrentIndex(selection);
}

}  // namespace

CalibrationSetupDialog::CalibrationSetupDialog(calibration::CCalibrationDlg& state,
                                               LinkWorker& worker, QWidget* parent)
    : QDialog(parent), state_(state), worker_(worker) {
  setWindowTitle(toQt(calibration::kSetupCaption));
  buildLayout();
  state_.selectType(0);
  showState();
  connect(types_, &QComboBox::activated, this, &CalibrationSetupDialog::onTypeChosen);
  connect(inputs_, &QComboBox::activated, this, &CalibrationSetupDialog::onInputChosen);
  connect(sensors_, &QComboBox::activated, this, [this](int position) { state_.selectSensor(position); });
  connect(spin_, &QSpinBox::valueChanged, this, [this](int value) { code_->setText(QString::number(value)); });
  connect(code_, &QLineEdit::textChanged, this, [this](const QString& text) { state_.setCodeText(fromQt(text)); });
  connect(continue_, &QPushButton::clicked, this, &CalibrationSetupDialog::onContinue);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void CalibrationSetupDialog::buildLayout() {
  auto* layout = new QVBoxLayout(this);
  types_ = new QComboBox(this);
  for (int type = 0; type < calibration::kTypeCount; ++type) types_->addItem(toQt(calibration::typeEntry(type)));
  layout->addWidget(types_);
  description_ = new QLabel(this);
  description_->setWordWrap(true);
  description_->setMinimumHeight(description_->fontMetrics().lineSpacing() * kDescriptionLines);
  description_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  layout->addWidget(description_);

  auto* grid = new QGridLayout;
  sensorLabel_ = new QLabel(toQt(calibration::kSensorLabel), this);
  sensors_ = new QComboBox(this);
  inputLabel_ = new QLabel(toQt(calibration::kInputLabel), this);
  inputs_ = new QComboBox(this);
  for (QComboBox* list : {sensors_, inputs_}) {
    list->setMaxVisibleItems(list->maxVisibleItems() + kDropDownExtraPx / list->fontMetrics().height());
  }
  codeLabel_ = new QLabel(toQt(calibration::kCodeLabel), this);
  code_ = new QLineEdit(this);
  code_->setMaxLength(256);
  spin_ = new QSpinBox(this);
  spin_->setRange(0, calibration::kCodeSpinMaximum);
  spin_->setValue(0);
  grid->addWidget(sensorLabel_, 0, 0);
  grid->addWidget(sensors_, 0, 1, 1, 2);
  grid->addWidget(inputLabel_, 1, 0);
  grid->addWidget(inputs_, 1, 1, 1, 2);
  grid->addWidget(codeLabel_, 2, 0);
  grid->addWidget(code_, 2, 1);
  grid->addWidget(spin_, 2, 2);
  layout->addLayout(grid);

  const CalibrationButtons buttons = addCalibrationButtons(this, layout);
  continue_ = buttons.continueButton;
  cancel_ = buttons.cancelButton;
}

void CalibrationSetupDialog::showState() {
  showing_ = true;
  types_->setCurrentIndex(state_.type());
  description_->setText(toQt(state_.description()));
  fill(sensors_, state_.sensorList(), state_.sensorSelection());
  fill(inputs_, state_.inputList(), state_.inputSelection());
  sensorLabel_->setVisible(state_.sensorListShown());
  sensors_->setVisible(state_.sensorListShown());
  inputLabel_->setVisible(state_.inputListShown());
  inputs_->setVisible(state_.inputListShown());
  code_->setEnabled(state_.codeEnabled());
  spin_->setEnabled(state_.codeEnabled());
  showing_ = false;
}

void CalibrationSetupDialog::setBusy(bool busy) {
  for (QWidget* control : std::initializer_list<QWidget*>{types_, sensors_, inputs_, code_, spin_, continue_}) {
    control->setEnabled(!busy);
  }
  if (busy) setCursor(Qt::WaitCursor);
  else unsetCursor();
}

void CalibrationSetupDialog::runOnWorker(std::function<SetupResult()> call) {
  auto result = std::make_shared<SetupResult>(SetupResult::Stays);
  setBusy(true);
  const bool started = worker_.run([call, result] { *result = call(); }, [this, result] {
    setBusy(false);
    if (*result == SetupResult::Accepted) return accept();
    if (*result == SetupResult::Cancelled) return reject();
    showState();
  });
  if (!started) setBusy(false);
}

void CalibrationSetupDialog::onTypeChosen(int type) {
  if (showing_) return;
  runOnWorker([this, type] { return state_.selectType(type); });
}

void CalibrationSetupDialog::onInputChosen(int input) {
  if (showing_) return;
  runOnWorker([this, input] { return state_.selectInput(input); });
}

void CalibrationSetupDialog::onContinue() {
  runOnWorker([this] { return state_.pressContinue(); });
}

}  // namespace zelmot::ui
