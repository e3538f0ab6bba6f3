#include "cli/task_summary.h"

namespace zelmot::cli {

std::string taskSummaryText(const char* verb, const exchange::TaskOutcome& outcome) {
  std::string text = std::string(verb) + ": " + std::to_string(outcome.counts.handled) +
                     ", ошибок: " + std::to_string(outcome.errors);
  if (!outcome.started) text += " (задание не запущено)";
  if (outcome.cancelled) text += " (прервано)";
  if (outcome.suspended) text += " (обмен приостановлен)";
  return text;
}

void printTaskSummary(const Session& session, const char* verb, const exchange::TaskOutcome& outcome) {
  printNote(session, taskSummaryText(verb, outcome));
}

}  // namespace zelmot::cli
