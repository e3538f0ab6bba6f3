#pragma once
// The dialog "Очистка данных": a month picker ("MMMM yyyг."), OK and "Отмена". OK deletes
// the monthly archive files up to the chosen month and tells how many went.
#include <QDialog>
#include <filesystem>

#include "app/cleanup_state.h"

class QDateEdit;

namespace zelmot::ui {

class CleanupDialog final : public QDialog {
  Q_OBJECT

public:
  CleanupDialog(app::CleanupState& state, QWidget* parent = nullptr);

  QDateEdit* monthPicker() const { return picker_; }

  void accept() override;

signals:
  // The message of an accepted cleanup, before the dialog closes.
  void finished(const QString& message);

private:
  app::CleanupState& state_;
  QDateEdit* picker_ = nullptr;
};

// Opens the dialog modally over `parent` for the protocol folder; on OK shows the count of
// deleted files in an information box "Сообщение".
void openCleanupDialog(QWidget* parent, const std::filesystem::path& protocolDir);

}  // namespace zelmot::ui
