#pragma once
// State of the progress dialog of a bulk task ("Прибор <==> программа"): title, elapsed
// time, counter, log, brief or detailed size, and what "Отмена" does in each phase.
// The Qt dialog shows this state and forwards the clicks; the closing pause is its timer.
#include <string>
#include <vector>

#include "exchange/progress_sink.h"
#include "exchange/task_kind.h"

namespace zelmot::app {

inline constexpr const char* kProgressCaption = "Прибор <==> программа";
inline constexpr const char* kCancelText = "Отмена";
inline constexpr const char* kRunningLabel = "Обмен идет:";
inline constexpr const char* kProcessedLabel = "Обработано пар-ов:";
inline constexpr const char* kDetailsText = "Подробно >>";
inline constexpr const char* kBriefText = "<< Кратко";
// Pause between "Задание выполнено..." and closing, in milliseconds.
inline constexpr int kClosingPauseMs = 2000;
// Heights in dialog units; the width stays.
inline constexpr int kBriefHeightDlu = 61;
inline constexpr int kDetailedHeightDlu = 176;
// The log list is scrolled to its end every this many lines.
inline constexpr int kScrollEveryLines = 5;

class ProgressState {
public:
  enum class Phase { Idle, Running, Closing, Closed };
  enum class CancelAction { None, SignalCancel, CloseNow };

  // A task begins: brief size, empty log, range 0..total.
  void start(exchange::TaskCode code, const std::string& title, int total);
  // A log line arrives. True when the view should scroll the log to its end.
  bool addLine(const exchange::ProgressLine& line);
  void setTotal(int total) { total_ = total; }
  // The task has ended; the closing pause begins (scroll the log to its end).
  void finish();
  // The pause is over, or the dialog was closed at once.
  void close() { phase_ = Phase::Closed; }

  // "Отмена": while running it asks the task to stop (the dialog stays until the task
  // has finished); during the closing pause it closes at once.
  CancelAction pressCancel();
  // "Подробно >>" / "<< Кратко".
  void toggleDetailed() { detailed_ = !detailed_; }

  Phase phase() const { return phase_; }
  exchange::TaskCode code() const { return code_; }
  const std::string& title() const { return title_; }
  bool detailed() const { return detailed_; }
  std::string toggleText() const { return detailed_ ? kBriefText : kDetailsText; }
  int heightDlu() const { return detailed_ ? kDetailedHeightDlu : kBriefHeightDlu; }
  const std::string& elapsed() const { return elapsed_; }
  const std::string& counter() const { return counter_; }
  int done() const { return done_; }
  int total() const { return total_; }
  const std::vector<std::string>& lines() const { return lines_; }
  bool cancelRequested() const { return cancelRequested_; }

private:
  Phase phase_ = Phase::Idle;
  exchange::TaskCode code_ = exchange::TaskCode::Read;
  std::string title_;
  bool detailed_ = false;
  bool cancelRequested_ = false;
  std::string elapsed_ = "00:00:00";
  std::string counter_;
  int done_ = 0;
  int total_ = 0;
  std::vector<std::string> lines_;
};

}  // namespace zelmot::app
