#include "ui/clock_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "exchange/exchange_texts.h"
#include "platform/user_prompt.h"
#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

constexpr int kTooltipWidth = 250;

std::tm systemLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

void fillChoices(QComboBox* box, const std::vector<std::string>& names, int selected) {
  for (const std::string& name : names) box->addItem(toQt(name));
  box->setCurrentIndex(selected);
}

}  // namespace

CDateTimeDlg::CDateTimeDlg(app::ClockDialogState& state, UserPrompt& prompt, LocalTime now,
                           QWidget* parent)
    : QDialog(parent), state_(state), prompt_(prompt), now_(now ? std::move(now) : systemLocalTime) {
  setWindowTitle(toQt(app::kClockCaption));
  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  body->addWidget(buildFields());
  body->addWidget(buildBlocks());
  layout->addLayout(body);

  writeAtOnce_ = new QCheckBox(toQt(app::kClockWriteAtOnceText), this);
  writeAtOnce_->setChecked(state.writeAtOnce);
  layout->addWidget(writeAtOnce_);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
  sync_ = buttons->addButton(toQt(app::kClockSyncButton), QDialogButtonBox::ActionRole);
  // A rich-text tooltip wraps at the width given.
  sync_->setToolTip(QStringLiteral("<div style='width:%1px'>%2</div>")
                        .arg(kTooltipWidth)
                        .arg(toQt(app::kClockSyncTooltip).toHtmlEscaped()));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(sync_, &QPushButton::clicked, this, &CDateTimeDlg::synchronise);
  layout->addWidget(buttons);
}

QWidget* CDateTimeDlg::buildFields() {
  auto* box = new QWidget(this);
  auto* form = new QFormLayout(box);
  form->setContentsMargins(0, 0, 0, 0);
  const QRegularExpression digits(QStringLiteral("[0-9]{0,2}"));
  for (int index = app::kClockFieldCount - 1; index >= 0; --index) {
    auto* edit = new QLineEdit(box);
    edit->setMaxLength(app::kClockFieldWidth);
    edit->setValidator(new QRegularExpressionValidator(digits, edit));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    edit->setText(toQt(state_.fieldText(index)));
    edit->setEnabled(state_.present(index));
    fields_[static_cast<size_t>(index)] = edit;
    form->addRow(toQt(app::kClockFieldLabels[static_cast<size_t>(index)]), edit);
  }
  return box;
}

QWidget* CDateTimeDlg::buildBlocks() {
  auto* box = new QWidget(this);
  auto* form = new QFormLayout(box);
  form->setContentsMargins(0, 0, 0, 0);
  lowest_ = new QComboBox(box);
  highest_ = new QComboBox(box);
  // The blocks are fixed by the clock value; the lists only show them.
  fillChoices(lowest_, state_.lowestBlockChoices(), state_.lowestBlock());
  fillChoices(highest_, state_.highestBlockChoices(), state_.highestBlock() - state_.lowestBlock());
  form->addRow(toQt(app::kClockLowestBlockLabel), lowest_);
  form->addRow(toQt(app::kClockHighestBlockLabel), highest_);
  return box;
}

void CDateTimeDlg::placeAtCursor() {
  adjustSize();
  move(QCursor::pos() - QPoint(width() / 2, height() / 2));
}

void CDateTimeDlg::takeFields() {
  for (int index = 0; index < app::kClockFieldCount; ++index) {
    state_.setFieldText(index, fromQt(fields_[static_cast<size_t>(index)]->text()));
  }
  state_.writeAtOnce = writeAtOnce_->isChecked();
}

void CDateTimeDlg::synchronise() {
  takeFields();
  const bool okAtOnce = state_.synchroniseWith(now_());
  for (int index = 0; index < app::kClockFieldCount; ++index) {
    fields_[static_cast<size_t>(index)]->setText(toQt(state_.fieldText(index)));
  }
  if (okAtOnce) accept();
}

void CDateTimeDlg::accept() {
  takeFields();
  const std::string refusal = state_.refusal();
  if (!refusal.empty()) {
    prompt_.tell(refusal, exchange::kWarningCaption, PromptIcon::Exclamation);
    return;
  }
  QDialog::accept();
}

}  // namespace zelmot::ui
