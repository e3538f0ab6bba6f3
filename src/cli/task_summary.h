#pragma once
// The one-line summary of a bulk task: "Прочитано: 551, ошибок: 0", with what stopped it.
#include "cli/session.h"
#include "exchange/task_outcome.h"

namespace zelmot::cli {

std::string taskSummaryText(const char* verb, const exchange::TaskOutcome& outcome);
// Printed unless --quiet.
void printTaskSummary(const Session& session, const char* verb, const exchange::TaskOutcome& outcome);

}  // namespace zelmot::cli
