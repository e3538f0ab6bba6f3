#include "ui/cleanup_dialog.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "archive/local_clock.h"
#include "ui/qt_text.h"

namespace zelmot::ui {

CleanupDialog::CleanupDialog(app::CleanupState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
  setWindowTitle(toQt(app::kCleanupCaption));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(toQt(app::kCleanupPrompt), this));
  picker_ = new QDateEdit(QDate(state.year(), state.month(), 1), this);
  picker_->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
  // kCleanupMonthFormat in Qt's grammar: "yyy" there is the full year, "г." a literal.
  picker_->setDisplayFormat(toQt("MMMM yyyy'г.'"));
  layout->addWidget(picker_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("OK");
  buttons->button(QDialogButtonBox::Cancel)->setText(toQt("Отмена"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void CleanupDialog::accept() {
  const QDate chosen = picker_->date();
  state_.choose(chosen.month(), chosen.year());
  emit finished(toQt(state_.accept()));
  QDialog::accept();
}

void openCleanupDialog(QWidget* parent, const std::filesystem::path& protocolDir) {
  app::CleanupState state(protocolDir, archive::SystemLocalClock().now());
  CleanupDialog dialog(state, parent);
  QString message;
  QObject::connect(&dialog, &CleanupDialog::finished, &dialog,
                   [&message](const QString& text) { message = text; });
  if (dialog.exec() == QDialog::Accepted) {
    QMessageBox::information(parent, toQt(app::kCleanupMessageCaption), message);
  }
}

}  // namespace zelmot::ui
