#pragma once
// Progress of a task on the terminal. On a terminal one line is redrawn in place (bar,
// count, elapsed time, current branch); --verbose prints every progress-log line instead;
// --quiet and output that is not a terminal get no progress at all, so that no control
// character ever reaches a file or a pipe.
#include <mutex>
#include <string>

#include "exchange/progress_sink.h"

namespace zelmot::cli {

struct ConnectionOptions;

enum class ProgressMode {
  None,  // nothing (--quiet, or standard output is not a terminal)
  Bar,   // one updating line
  Log,   // every log line (--verbose)
};

ProgressMode progressModeFor(const ConnectionOptions& options);

// The line drawn in Bar mode, at most `width` characters (UTF-8 code points).
std::string progressBarLine(const exchange::ProgressLine& line, const std::string& branch,
                            int width);
// The branch a log line enters ("Читаем ветвь 'Регуляторы'"), or "" for other lines.
std::string branchOfLogLine(const std::string& text);
// The log line as the terminal shows it: the progress window's own remarks left out.
std::string terminalLogText(const std::string& text);

class TerminalProgress final : public exchange::ProgressSink {
public:
  explicit TerminalProgress(ProgressMode mode) : mode_(mode) {}
  void taskStarted(exchange::TaskCode code, const std::string& title, int total) override;
  void logLine(const exchange::ProgressLine& line) override;
  void rangeChanged(int) override {}
  void taskFinished() override;
  // Ends a progress line drawn in place, so that a message printed now starts a line.
  void endLine();

private:
  std::mutex mutex_;
  ProgressMode mode_;
  std::string branch_;
  bool barShown_ = false;
};

}  // namespace zelmot::cli
