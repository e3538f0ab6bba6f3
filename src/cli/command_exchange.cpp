// read, write and compare: bulk tasks of the exchange thread.
#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "exchange/compare_texts.h"
#include "exchange/exchange_texts.h"
#include "exchange/tree_walk.h"

namespace zelmot::cli {
namespace {

model::DescBranch* targetBranch(Session& session, const std::string& path) {
  model::DescBranch* target = session.doc().findBranch(path);
  if (target == nullptr) {
    std::fprintf(stderr, "%s: %s\n", exchange::kBranchUndefinedText, path.c_str());
  }
  return target;
}

// Saves when asked; a failed save turns the run into a file error.
int saveOutput(Session& session, const std::string& path, int status) {
  if (path.empty()) return status;
  const document::FileResult result = session.doc().save(path);
  if (result.ok) return status;
  std::fprintf(stderr, "%s: %s\n", path.c_str(), result.message.c_str());
  return kExitUsage;
}

int statusOf(const exchange::TaskOutcome& outcome, bool differences) {
  if (!outcome.started) return kExitFailures;
  if (outcome.noLink()) return kExitNoLink;
  if (outcome.errors > 0 || outcome.cancelled || differences) return kExitFailures;
  return kExitOk;
}

void printSummary(const char* verb, const exchange::TaskOutcome& outcome) {
  std::printf("%s: %d, ошибок: %d%s%s%s\n", verb, outcome.counts.handled, outcome.errors,
              outcome.started ? "" : " (задание не запущено)",
              outcome.cancelled ? " (прервано)" : "",
              outcome.suspended ? " (обмен приостановлен)" : "");
}

}  // namespace

int runRead(Session& session, const ExchangeArgs& args) {
  model::DescBranch* target = targetBranch(session, args.branch);
  if (target == nullptr) return kExitUsage;
  // A new configuration: whatever is not read stays without data instead of showing the
  // description files' initial values as if the device had answered them.
  session.doc().root()->ResetValues();
  const exchange::TaskOutcome outcome =
      session.doc().deviceLink().runTask(exchange::TaskCode::Read, target);
  printSummary("Прочитано", outcome);
  return saveOutput(session, args.output, statusOf(outcome, false));
}

int runWrite(Session& session, const ExchangeArgs& args) {
  if (!openConfiguration(session, args.input)) return kExitUsage;
  model::DescBranch* target = targetBranch(session, args.branch);
  if (target == nullptr) return kExitUsage;
  exchange::DeviceLink& link = session.doc().deviceLink();
  exchange::TaskOutcome outcome;
  if (args.errorsOnly) {
    std::vector<model::Parameter*> group = exchange::collectErroneousParameters(*target);
    if (group.empty()) {
      std::printf("%s\n", exchange::kNoErroneousText);
      return saveOutput(session, args.output, kExitOk);
    }
    outcome = link.runGroupWrite(std::move(group));
  } else {
    const auto code = args.changedOnly ? exchange::TaskCode::WriteChanged : exchange::TaskCode::WriteAll;
    outcome = link.runTask(code, target);
  }
  printSummary("Записано", outcome);
  return saveOutput(session, args.output, statusOf(outcome, false));
}

int runCompare(Session& session, const ExchangeArgs& args) {
  if (!openConfiguration(session, args.input)) return kExitUsage;
  model::DescBranch* target = targetBranch(session, args.branch);
  if (target == nullptr) return kExitUsage;
  const exchange::TaskOutcome outcome =
      session.doc().deviceLink().runTask(exchange::TaskCode::Compare, target);
  if (outcome.started) {
    std::printf("%s\n",
                exchange::compareSummary(outcome.differenceCount, outcome.differenceText).c_str());
  } else {
    printSummary("Сравнено", outcome);
  }
  return saveOutput(session, args.output, statusOf(outcome, outcome.differenceCount > 0));
}

}  // namespace zelmot::cli
