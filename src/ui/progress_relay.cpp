#include "ui/progress_relay.h"

#include "ui/qt_text.h"

namespace zelmot::ui {

void ProgressRelay::taskStarted(exchange::TaskCode code, const std::string& title, int total) {
  emit started(static_cast<int>(code), toQt(title), total);
}

void ProgressRelay::logLine(const exchange::ProgressLine& progress) {
  emit line(toQt(progress.text), toQt(progress.elapsed), toQt(progress.counter), progress.done,
            progress.total);
}

void ProgressRelay::rangeChanged(int total) { emit totalChanged(total); }

void ProgressRelay::taskFinished() { emit finished(); }

void ProgressRelay::parameterChanged(const void* parameter) {
  emit parameterRead(reinterpret_cast<quintptr>(parameter));
}

}  // namespace zelmot::ui
