#pragma once
// CChangePassword: "Изменение пароля". The fields and the two "Изменить!" buttons over an
// app::ChangePasswordState, which checks, writes and reads back; the dialog stays open
// until "Закрыть".
#include <QDialog>

#include "app/change_password.h"

class QLineEdit;
class QPushButton;

namespace zelmot {
class UserPrompt;
}

namespace zelmot::ui {

class CChangePassword final : public QDialog {
  Q_OBJECT

public:
  CChangePassword(app::ChangePasswordState& state, UserPrompt& prompt, QWidget* parent = nullptr);

  QLineEdit* currentField() const { return current_; }
  QLineEdit* middleField(int i) const { return middle_[i]; }
  QLineEdit* maximumField(int i) const { return maximum_[i]; }
  QPushButton* changeButton(app::PasswordLevel level) const;
  app::PasswordChange lastChange() const { return last_; }

private:
  QLineEdit* passwordField();
  void change(app::PasswordLevel level);
  app::PasswordFields typed() const;
  void showFields(const app::PasswordFields& fields);

  app::ChangePasswordState& state_;
  UserPrompt& prompt_;
  QLineEdit* current_ = nullptr;
  QLineEdit* middle_[2] = {};
  QLineEdit* maximum_[2] = {};
  QPushButton* changeMiddle_ = nullptr;
  QPushButton* changeMaximum_ = nullptr;
  app::PasswordChange last_ = app::PasswordChange::NotAllowed;
};

}  // namespace zelmot::ui
