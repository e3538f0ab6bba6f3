#include "ui/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>
#include <QtGlobal>

#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

QLabel* line(const std::string& text, QWidget* parent) {
  auto* label = new QLabel(toQt(text), parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

app::AboutInformation aboutInformationWithQt() {
  return app::aboutInformation({{"Qt", qVersion()}});
}

AboutDialog::AboutDialog(const app::AboutInformation& info, QWidget* parent) : QDialog(parent) {
  setWindowTitle(toQt(app::kAboutCaption));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(":/icons/service.svg").pixmap(48, 48));
  top->addWidget(icon, 0, Qt::AlignTop);
  auto* texts = new QVBoxLayout;
  QLabel* name = line(info.programName, this);
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  texts->addWidget(name);
  for (const std::string* text : {&info.version, &info.buildDate, &info.copyright, &info.maker,
                                  &info.system}) {
    texts->addWidget(line(*text, this));
  }
  texts->addSpacing(8);
  texts->addWidget(line("Используемые библиотеки:", this));
  texts->addWidget(line(app::libraryListText(info.libraries), this));
  top->addLayout(texts, 1);
  layout->addLayout(top);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace zelmot::ui
