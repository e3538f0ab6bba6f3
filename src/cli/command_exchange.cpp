// read, write and compare: bulk tasks of the exchange thread.
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/output_path.h"
#include "cli/self_changing.h"
#include "cli/task_summary.h"
#include "exchange/compare_texts.h"
#include "exchange/exchange_texts.h"
#include "exchange/tree_walk.h"

namespace zelmot::cli {
namespace {

struct ExchangeArgs {
  std::string input;   // configuration to write or compare
  std::string output;  // where to save the result ("" = nowhere)
  std::string branch;  // branch names joined with "/" ("" = the whole tree)
  bool changedOnly = false;
  bool errorsOnly = false;
};

model::DescBranch* targetBranch(Session& session, const std::string& path) {
  model::DescBranch* target = session.doc().findBranch(path);
  if (target == nullptr) {
    std::fprintf(stderr, "%s: %s\n", exchange::kBranchUndefinedText, path.c_str());
  }
  return target;
}

// False (the message printed) when the output cannot be written: checked before the
// device is touched.
bool outputWritable(const std::string& path) {
  if (path.empty()) return true;
  const std::string refusal = unwritableOutputText(path);
  if (!refusal.empty()) std::fprintf(stderr, "%s\n", refusal.c_str());
  return refusal.empty();
}

// Saves when asked; a failed save turns the run into a file error. A task that did not run
// to its end (interrupted, line lost) never replaces an existing file: what it got is
// saved only where nothing was.
int saveOutput(Session& session, const std::string& path, int status,
               const exchange::TaskOutcome* outcome = nullptr) {
  if (path.empty()) return status;
  const bool complete =
      outcome == nullptr || (outcome->started && !outcome->cancelled && !outcome->noLink());
  if (!complete && std::filesystem::exists(path)) {
    std::fprintf(stderr, "Файл \"%s\" не перезаписан: задание не выполнено до конца\n",
                 path.c_str());
    return status;
  }
  const document::FileResult result = session.doc().save(path);
  if (result.ok) return status;
  std::fprintf(stderr, "%s\n", result.message.c_str());
  return kExitUsage;
}

int statusOf(const exchange::TaskOutcome& outcome, bool differences) {
  if (!outcome.started) return kExitFailures;
  if (outcome.noLink()) return kExitNoLink;
  if (outcome.errors > 0 || outcome.cancelled || differences) return kExitFailures;
  return kExitOk;
}

int runRead(Session& session, const ExchangeArgs& args) {
  if (!outputWritable(args.output)) return kExitUsage;
  model::DescBranch* target = targetBranch(session, args.branch);
  if (target == nullptr) return kExitUsage;
  // A new configuration: whatever is not read stays without data instead of showing the
  // description files' initial values as if the device had answered them.
  session.doc().root()->ResetValues();
  const exchange::TaskOutcome outcome =
      session.doc().deviceLink().runTask(exchange::TaskCode::Read, target);
  printTaskSummary(session, "Прочитано", outcome);
  return saveOutput(session, args.output, statusOf(outcome, false), &outcome);
}

int runWrite(Session& session, const ExchangeArgs& args) {
  if (!outputWritable(args.output)) return kExitUsage;
  if (!openConfiguration(session, args.input)) return kExitUsage;
  model::DescBranch* target = targetBranch(session, args.branch);
  if (target == nullptr) return kExitUsage;
  exchange::DeviceLink& link = session.doc().deviceLink();
  exchange::TaskOutcome outcome;
  if (args.errorsOnly) {
    std::vector<model::Parameter*> group = exchange::collectErroneousParameters(*target);
    if (group.empty()) {
      printNote(session, exchange::kNoErroneousText);
      return saveOutput(session, args.output, kExitOk);
    }
    outcome = link.runGroupWrite(std::move(group));
  } else {
    const auto code = args.changedOnly ? exchange::TaskCode::WriteChanged : exchange::TaskCode::WriteAll;
    outcome = link.runTask(code, target);
  }
  printTaskSummary(session, "Записано", outcome);
  return saveOutput(session, args.output, statusOf(outcome, false), &outcome);
}

int runCompare(Session& session, const ExchangeArgs& args) {
  if (!outputWritable(args.output)) return kExitUsage;
  if (!openConfiguration(session, args.input)) return kExitUsage;
  model::DescBranch* target = targetBranch(session, args.branch);
  if (target == nullptr) return kExitUsage;
  const exchange::TaskOutcome outcome =
      session.doc().deviceLink().runTask(exchange::TaskCode::Compare, target);
  if (!outcome.started) {
    printTaskSummary(session, "Сравнено", outcome);
    return saveOutput(session, args.output, statusOf(outcome, false), &outcome);
  }
  const std::string summary =
      exchange::compareSummary(outcome.differenceCount, outcome.differenceText);
  // The differences are the command's result: shown also with --quiet.
  if (outcome.differenceCount > 0) {
    std::printf("%s\n", summary.c_str());
  } else {
    printNote(session, summary);
  }
  const SelfChangingDifferences moving = selfChangingDifferences(*target, outcome.differenceCount);
  if (!moving.names.empty()) printNote(session, selfChangingNote(moving));
  return saveOutput(session, args.output, statusOf(outcome, moving.otherDifferences), &outcome);
}

void addBranchOption(CLI::App* command, ExchangeArgs& args) {
  command->add_option("--branch", args.branch, "Только эта ветвь (имена ветвей через /)");
}

void addReadCommand(CommandSet& set) {
  auto args = std::make_shared<ExchangeArgs>();
  CLI::App* read = set.add("read", "Прочитать все параметры прибора и сохранить конфигурацию",
                           CommandNeeds::Device,
                           [args](Session& session) { return runRead(session, *args); });
  read->add_option("-o,--output", args->output, "Файл конфигурации для сохранения")->required();
  addBranchOption(read, *args);
}

void addWriteCommand(CommandSet& set) {
  auto args = std::make_shared<ExchangeArgs>();
  CLI::App* write = set.add("write", "Записать конфигурацию в прибор", CommandNeeds::Device,
                            [args](Session& session) { return runWrite(session, *args); });
  write->add_option("input", args->input, "Файл конфигурации")->required();
  auto* changed = write->add_flag("--changed", args->changedOnly, "Только измененные значения");
  auto* errors = write->add_flag("--errors", args->errorsOnly, "Только параметры с ошибками");
  changed->excludes(errors);
  addBranchOption(write, *args);
  write->add_option("-o,--output", args->output, "Сохранить получившееся состояние в этот файл");
}

void addCompareCommand(CommandSet& set) {
  auto args = std::make_shared<ExchangeArgs>();
  CLI::App* compare = set.add(
      "compare",
      "Сравнить конфигурацию с прибором. Код 1 только при отличиях в параметрах, которые "
      "не изменяются сами: часы rtC, счетчик ошибок n.Err и измеряемые величины показываются, "
      "но кода 1 не дают",
      CommandNeeds::Device, [args](Session& session) { return runCompare(session, *args); });
  compare->add_option("input", args->input, "Файл конфигурации")->required();
  addBranchOption(compare, *args);
  compare->add_option("-o,--output", args->output, "Сохранить конфигурацию с отметками отличий");
}

}  // namespace

void addExchangeCommands(CommandSet& set) {
  addReadCommand(set);
  addWriteCommand(set);
  addCompareCommand(set);
}

}  // namespace zelmot::cli
