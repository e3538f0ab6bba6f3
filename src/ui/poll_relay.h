#pragma once
// Carries the poll notification from the scheduler's thread to the window's thread as a
// queued signal; the scheduler never touches a widget.
#include <QObject>

#include "exchange/poll_scheduler.h"

namespace zelmot::ui {

class PollRelay final : public QObject {
  Q_OBJECT

public:
  explicit PollRelay(QObject* parent = nullptr) : QObject(parent) {}
  // Any thread.
  void deliver(const exchange::PollNotice& notice) {
    emit polled(reinterpret_cast<quintptr>(notice.parameter), notice.archiveFailed);
  }

signals:
  void polled(quintptr parameter, bool archiveFailed);
};

}  // namespace zelmot::ui
