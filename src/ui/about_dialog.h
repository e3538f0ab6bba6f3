#pragma once
// "О программе...": the program's name, version, build date, copyright, the maker's line,
// the operating system and the libraries in use (the core's and Qt).
#include <QDialog>

#include "app/program_information.h"

namespace zelmot::ui {

// The about information with Qt's version among the libraries.
app::AboutInformation aboutInformationWithQt();

class AboutDialog final : public QDialog {
  Q_OBJECT

public:
  explicit AboutDialog(const app::AboutInformation& info, QWidget* parent = nullptr);
};

}  // namespace zelmot::ui
