#pragma once
// The small borderless notice "Чтение параметров..." with a picture, shown over the view
// while an expanded branch reads its parameters.
#include <QFrame>

namespace zelmot::ui {

class ReadingNotice final : public QFrame {
  Q_OBJECT

public:
  explicit ReadingNotice(QWidget* parent);
  // Shows the notice in the middle of `over`.
  void showOver(QWidget* over);
};

}  // namespace zelmot::ui
