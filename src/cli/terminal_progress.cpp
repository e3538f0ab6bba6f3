#include "cli/terminal_progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "cli/session.h"
#include "exchange/exchange_texts.h"

namespace zelmot::cli {
namespace {

constexpr int kBarCells = 20;
constexpr int kDefaultWidth = 80;
constexpr const char* kBranchMark = "ветвь '";
constexpr const char* kClearLine = "\r\x1b[K";

int terminalWidth() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return kDefaultWidth;
}

// Cuts a UTF-8 text after `count` code points.
std::string firstCodePoints(const std::string& text, int count) {
  size_t at = 0;
  for (int seen = 0; at < text.size(); ++at) {
    const bool starts = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
    if (starts && seen++ == count) break;
  }
  return text.substr(0, at);
}

}  // namespace

ProgressMode progressModeFor(const ConnectionOptions& options) {
  if (options.quiet) return ProgressMode::None;
  if (options.verbose) return ProgressMode::Log;
  return ::isatty(STDOUT_FILENO) ? ProgressMode::Bar : ProgressMode::None;
}

std::string progressBarLine(const exchange::ProgressLine& line, const std::string& branch,
                            int width) {
  const int filled = line.total > 0 ? std::min(kBarCells, line.done * kBarCells / line.total) : 0;
  std::string text = "[" + std::string(static_cast<size_t>(filled), '#') +
                     std::string(static_cast<size_t>(kBarCells - filled), '-') + "] " +
                     std::to_string(line.done) + "/" + std::to_string(line.total) + " " +
                     line.elapsed;
  if (!branch.empty()) text += " " + branch;
  return firstCodePoints(text, width);
}

std::string branchOfLogLine(const std::string& text) {
  const size_t mark = text.find(kBranchMark);
  if (mark == std::string::npos || text.empty() || text.back() != '\'') return {};
  const size_t first = mark + std::string(kBranchMark).size();
  return first < text.size() ? text.substr(first, text.size() - 1 - first) : std::string();
}

std::string terminalLogText(const std::string& text) {
  // The window closes by itself; a terminal has no window.
  return text == exchange::kTaskDoneText ? std::string("Задание выполнено.") : text;
}

void TerminalProgress::taskStarted(exchange::TaskCode, const std::string& title, int total) {
  std::lock_guard lock(mutex_);
  branch_.clear();
  if (mode_ != ProgressMode::Log) return;
  std::printf("%s (%d)\n", title.c_str(), total);
  std::fflush(stdout);
}

void TerminalProgress::logLine(const exchange::ProgressLine& line) {
  std::lock_guard lock(mutex_);
  if (mode_ == ProgressMode::Bar) {
    const std::string branch = branchOfLogLine(line.text);
    if (!branch.empty()) branch_ = branch;
    std::printf("%s%s", kClearLine, progressBarLine(line, branch_, terminalWidth() - 1).c_str());
    barShown_ = true;
  } else if (mode_ == ProgressMode::Log) {
    const std::string text = terminalLogText(line.text);
    if (line.counter.empty()) {
      std::printf("[%s] %s\n", line.elapsed.c_str(), text.c_str());
    } else {
      std::printf("[%s %s] %s\n", line.elapsed.c_str(), line.counter.c_str(), text.c_str());
    }
  }
  std::fflush(stdout);
}

void TerminalProgress::taskFinished() {
  std::lock_guard lock(mutex_);
  if (!barShown_) return;
  std::printf("%s", kClearLine);  // the summary takes the line
  std::fflush(stdout);
  barShown_ = false;
}

void TerminalProgress::endLine() {
  std::lock_guard lock(mutex_);
  if (!barShown_) return;
  std::printf("\n");
  std::fflush(stdout);
  barShown_ = false;
}

}  // namespace zelmot::cli
