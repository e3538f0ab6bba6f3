#pragma once
// The "Продолжить" / "Отмена" row that both calibration dialogs end with.
#include <QBoxLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "calibration/setup_texts.h"
#include "ui/qt_text.h"

namespace zelmot::ui {

struct CalibrationButtons {
  QPushButton* continueButton = nullptr;
  QPushButton* cancelButton = nullptr;
};

// Adds the row, right-aligned, to `layout`; "Продолжить" is the default button.
inline CalibrationButtons addCalibrationButtons(QWidget* dialog, QBoxLayout* layout) {
  CalibrationButtons buttons;
  auto* row = new QHBoxLayout;
  buttons.continueButton = new QPushButton(toQt(calibration::kContinueButton), dialog);
  buttons.continueButton->setDefault(true);
  buttons.cancelButton = new QPushButton(toQt(calibration::kCancelButton), dialog);
  row->addStretch();
  row->addWidget(buttons.continueButton);
  row->addWidget(buttons.cancelButton);
  layout->addLayout(row);
  return buttons;
}

}  // namespace zelmot::ui
