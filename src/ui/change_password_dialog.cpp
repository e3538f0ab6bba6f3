#include "ui/change_password_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

QLabel* wrappedLabel(const char* text, QWidget* parent) {
  auto* label = new QLabel(toQt(text), parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

CChangePassword::CChangePassword(app::ChangePasswordState& state, UserPrompt& prompt,
                                 QWidget* parent)
    : QDialog(parent), state_(state), prompt_(prompt) {
  setWindowTitle(toQt(app::kChangePasswordCaption));
  auto* layout = new QGridLayout(this);
  layout->addWidget(wrappedLabel(app::kCurrentPasswordLabel, this), 0, 0, 1, 2);
  current_ = passwordField();
  layout->addWidget(current_, 1, 0);

  const auto addPair = [&](int row, const char* label, QLineEdit* (&fields)[2], QPushButton*& button) {
    layout->addWidget(wrappedLabel(label, this), row, 0, 1, 2);
    fields[0] = passwordField();
    fields[1] = passwordField();
    layout->addWidget(fields[0], row + 1, 0);
    layout->addWidget(fields[1], row + 2, 0);
    button = new QPushButton(toQt(app::kChangeButtonText), this);
    button->setAutoDefault(false);
    layout->addWidget(button, row + 1, 1, 2, 1);
  };
  addPair(2, app::kMidPasswordLabel, middle_, changeMiddle_);
  addPair(5, app::kMaxPasswordLabel, maximum_, changeMaximum_);

  auto* close = new QPushButton(toQt(app::kCloseButtonText), this);
  layout->addWidget(close, 8, 1);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(changeMiddle_, &QPushButton::clicked, this, [this] { change(app::PasswordLevel::Middle); });
  connect(changeMaximum_, &QPushButton::clicked, this, [this] { change(app::PasswordLevel::Maximum); });
  layout->setColumnStretch(0, 1);
  setMinimumWidth(480);
}

QPushButton* CChangePassword::changeButton(app::PasswordLevel level) const {
  return level == app::PasswordLevel::Middle ? changeMiddle_ : changeMaximum_;
}

QLineEdit* CChangePassword::passwordField() {
  auto* field = new QLineEdit(this);
  field->setEchoMode(QLineEdit::Password);
  return field;
}

app::PasswordFields CChangePassword::typed() const {
  app::PasswordFields fields;
  fields.current = fromQt(current_->text());
  for (int i = 0; i < 2; ++i) {
    fields.middle[i] = fromQt(middle_[i]->text());
    fields.maximum[i] = fromQt(maximum_[i]->text());
  }
  return fields;
}

void CChangePassword::showFields(const app::PasswordFields& fields) {
  current_->setText(toQt(fields.current));
  for (int i = 0; i < 2; ++i) {
    middle_[i]->setText(toQt(fields.middle[i]));
    maximum_[i]->setText(toQt(fields.maximum[i]));
  }
}

void CChangePassword::change(app::PasswordLevel level) {
  last_ = state_.change(level, typed(), prompt_);
  showFields(state_.fields());
}

}  // namespace zelmot::ui
