#include "ui/apply_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/aply_state.h"
#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

constexpr int kParameterLines = 7;

}  // namespace

CApply::CApply(app::AplyState& state, const QString& newParameters, QWidget* parent)
    : QDialog(parent), state_(state) {
  setWindowTitle(toQt(app::kAplyCaption));
  auto* layout = new QVBoxLayout(this);
  auto* warning = new QLabel(toQt(app::kAplyWarning), this);
  warning->setWordWrap(true);
  layout->addWidget(warning);

  auto* group = new QGroupBox(toQt(app::kAplyNewParametersGroup), this);
  auto* groupLayout = new QVBoxLayout(group);
  parameters_ = new QPlainTextEdit(newParameters, group);
  parameters_->setReadOnly(true);
  parameters_->setMinimumHeight(parameters_->fontMetrics().lineSpacing() * kParameterLines);
  groupLayout->addWidget(parameters_);
  layout->addWidget(group);

  changeProgram_ = new QCheckBox(toQt(app::kAplyChangeProgramText), this);
  changeProgram_->setChecked(state.changeProgramSettings);
  broadcast_ = new QCheckBox(toQt(app::kAplyBroadcastText), this);
  broadcast_->setChecked(state.broadcast);
  threeTimes_ = new QCheckBox(toQt(app::kAplyThreeTimesText), this);
  threeTimes_->setChecked(state.threeTimes);
  threeTimes_->setEnabled(false);
  for (QCheckBox* box : {changeProgram_, broadcast_, threeTimes_}) layout->addWidget(box);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void CApply::accept() {
  state_.changeProgramSettings = changeProgram_->isChecked();
  state_.broadcast = broadcast_->isChecked();
  state_.threeTimes = threeTimes_->isChecked();
  QDialog::accept();
}

}  // namespace zelmot::ui
