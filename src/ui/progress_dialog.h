#pragma once
// The modal progress dialog of a bulk task: shows the ProgressState, forwards "Отмена" to
// the task's cancel event and closes itself after the closing pause.
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include "app/progress_state.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace zelmot {
class Event;
}

namespace zelmot::ui {

class ProgressRelay;

class ProgressDialog final : public QDialog {
  Q_OBJECT

public:
  ProgressDialog(Event& cancelEvent, QWidget* parent = nullptr);

  // Listens to the relay (queued, so the exchange thread never reaches a widget).
  void connectRelay(ProgressRelay& relay);
  void setClosingPause(int milliseconds) { closingPauseMs_ = milliseconds; }

  const app::ProgressState& state() const { return state_; }
  QPushButton* cancelButton() const { return cancelButton_; }
  QPushButton* toggleButton() const { return toggleButton_; }
  QListWidget* logList() const { return log_; }
  QProgressBar* progressBar() const { return bar_; }
  QLabel* counterLabel() const { return counter_; }
  QLabel* elapsedLabel() const { return elapsed_; }

public slots:
  void onStarted(int code, const QString& title, int total);
  void onLine(const QString& text, const QString& elapsed, const QString& counter, int done,
              int total);
  void onTotal(int total);
  void onFinished();
  void pressCancel();
  void toggleDetailed();

protected:
  // Escape and the window's close button act as "Отмена".
  void reject() override;

private:
  void buildLayout();
  void applySize();
  void tick();
  void closeNow();
  int dluToPixelsY(int dlu) const;

  Event& cancelEvent_;
  app::ProgressState state_;
  int closingPauseMs_ = app::kClosingPauseMs;
  QElapsedTimer clock_;
  QTimer ticker_;
  QTimer closer_;
  QLabel* elapsed_ = nullptr;
  QLabel* counter_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* toggleButton_ = nullptr;
  QListWidget* log_ = nullptr;
};

}  // namespace zelmot::ui
