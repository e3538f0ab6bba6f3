#pragma once
// CDateTimeDlg: "Дата и время" over an app::ClockDialogState. Seven two-character fields
// (those absent from the clock value disabled), the two block lists that only show the
// blocks, the check box for an immediate write after synchronising, and the three
// buttons. The caller writes the clock when the dialog is accepted.
#include <QDialog>
#include <array>
#include <ctime>
#include <functional>

#include "app/clock_dialog_state.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zelmot {
class UserPrompt;
}

namespace zelmot::ui {

class CDateTimeDlg final : public QDialog {
  Q_OBJECT

public:
  using LocalTime = std::function<std::tm()>;
  // `now` gives the computer's local time (the system clock when empty).
  CDateTimeDlg(app::ClockDialogState& state, UserPrompt& prompt, LocalTime now = {},
               QWidget* parent = nullptr);

  QLineEdit* field(int index) const { return fields_[static_cast<size_t>(index)]; }
  QComboBox* lowestBox() const { return lowest_; }
  QComboBox* highestBox() const { return highest_; }
  QCheckBox* writeAtOnceBox() const { return writeAtOnce_; }
  QPushButton* syncButton() const { return sync_; }

  // Centres the dialog on the mouse cursor.
  void placeAtCursor();
  void accept() override;

private:
  QWidget* buildFields();
  QWidget* buildBlocks();
  void synchronise();
  void takeFields();

  app::ClockDialogState& state_;
  UserPrompt& prompt_;
  LocalTime now_;
  std::array<QLineEdit*, app::kClockFieldCount> fields_{};
  QComboBox* lowest_ = nullptr;
  QComboBox* highest_ = nullptr;
  QCheckBox* writeAtOnce_ = nullptr;
  QPushButton* sync_ = nullptr;
};

}  // namespace zelmot::ui
