#pragma once
// Carries what the exchange thread reports (progress, redrawn parameters) to the window's
// thread as queued signals; nothing on the exchange thread ever touches a widget.
#include <QObject>
#include <QString>

#include "exchange/progress_sink.h"

namespace zelmot::ui {

class ProgressRelay final : public QObject, public exchange::ProgressSink {
  Q_OBJECT

public:
  explicit ProgressRelay(QObject* parent = nullptr) : QObject(parent) {}

  void taskStarted(exchange::TaskCode code, const std::string& title, int total) override;
  void logLine(const exchange::ProgressLine& line) override;
  void rangeChanged(int total) override;
  void taskFinished() override;
  // A parameter was read (any thread): its rows are redrawn.
  void parameterChanged(const void* parameter);
  // Time-outs switched automatic reading off (any thread).
  void autoReadingSwitchedOff() { emit autoReadingOff(); }

signals:
  void started(int code, const QString& title, int total);
  void line(const QString& text, const QString& elapsed, const QString& counter, int done,
            int total);
  void totalChanged(int total);
  void finished();
  void parameterRead(quintptr parameter);
  void autoReadingOff();
};

}  // namespace zelmot::ui
