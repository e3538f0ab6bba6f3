#include "ui/reading_notice.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>

#include "app/measurement.h"
#include "ui/qt_text.h"

namespace zelmot::ui {

ReadingNotice::ReadingNotice(QWidget* parent) : QFrame(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
  setObjectName("reading-notice");
  setFrameShape(QFrame::Box);
  auto* layout = new QHBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setPixmap(QIcon(":/icons/read.svg").pixmap(32, 32));
  auto* text = new QLabel(toQt(app::kReadingNoticeText), this);
  text->setObjectName("reading-notice-text");
  layout->addWidget(picture);
  layout->addWidget(text);
  adjustSize();
}

void ReadingNotice::showOver(QWidget* over) {
  const QPoint centre = over->mapToGlobal(over->rect().center());
  move(centre - QPoint(width() / 2, height() / 2));
  show();
  raise();
}

}  // namespace zelmot::ui
