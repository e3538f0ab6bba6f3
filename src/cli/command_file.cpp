// show and set-value: configuration files without the device.
#include <cstdio>
#include <memory>

#include "app/edit_state.h"
#include "app/tree_rows.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/parameter_ref.h"
#include "document/config_listing.h"
#include "exchange/exchange_texts.h"

namespace zelmot::cli {
namespace {

struct ShowArgs {
  std::string file;
  std::string branch;
  bool json = false;
};

struct SetValueArgs {
  std::string file;
  std::string parameter;
  std::string value;
};

// The column titles of the tree-list view, tab-separated like the rows under them.
std::string headerRow() {
  std::string header;
  for (const app::ColumnSpec& column : app::kColumns) {
    header += (header.empty() ? "" : "\t") + std::string(column.title);
  }
  return header + "\n";
}

int runShow(Session& session, const ShowArgs& args) {
  if (!openConfiguration(session, args.file)) return kExitUsage;
  model::DescBranch* target = session.doc().findBranch(args.branch);
  if (target == nullptr) {
    std::fprintf(stderr, "%s: %s\n", exchange::kBranchUndefinedText, args.branch.c_str());
    return kExitUsage;
  }
  model::PresentationOptions options;
  options.showLinearIndexes = true;
  options.discreteInputCount = session.doc().deviceModel().nDiskretInput();
  const std::string text = args.json ? document::listConfigurationJson(*target, options)
                                     : headerRow() + document::listConfigurationText(*target, options);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return kExitOk;
}

int runSetValue(Session& session, const SetValueArgs& args) {
  ParameterRef ref;
  if (!parseParameterRef(args.parameter, ref)) {
    std::fprintf(stderr, "Неверное имя параметра: %s\n", args.parameter.c_str());
    return kExitUsage;
  }
  if (!openConfiguration(session, args.file)) return kExitUsage;
  model::DescBranch* root = session.doc().root();
  model::Parameter* target = root ? root->FindParameter(ref.name, ref.hasIndex ? ref.index : -1) : nullptr;
  if (target == nullptr) {
    std::fprintf(stderr, "Данный параметр не найден!\n");
    return kExitUsage;
  }
  if (target->SetValueText(args.value) != 1) {
    std::fputs(app::valueRefusalMessage(*target, args.value).c_str(), stderr);
    return kExitUsage;
  }
  const document::FileResult saved = session.doc().save(args.file);
  if (!saved.ok) {
    std::fprintf(stderr, "%s\n", saved.message.c_str());
    return kExitUsage;
  }
  printNote(session, args.parameter + " = " + target->valueText());
  return kExitOk;
}

void addShowCommand(CommandSet& set) {
  auto args = std::make_shared<ShowArgs>();
  CLI::App* show = set.add("show", "Показать сохраненную конфигурацию (строка заголовка, затем "
                                   "строки дерева через табуляцию)",
                           CommandNeeds::Description,
                           [args](Session& session) { return runShow(session, *args); });
  show->add_option("file", args->file, "Файл конфигурации")->required();
  show->add_option("--branch", args->branch, "Только эта ветвь (имена ветвей через /)");
  show->add_flag("--json", args->json, "В виде JSON");
}

void addSetValueCommand(CommandSet& set) {
  auto args = std::make_shared<SetValueArgs>();
  CLI::App* setValue = set.add("set-value", "Изменить значение в сохраненной конфигурации",
                               CommandNeeds::Description,
                               [args](Session& session) { return runSetValue(session, *args); });
  setValue->add_option("file", args->file, "Файл конфигурации")->required();
  setValue->add_option("parameter", args->parameter, "ИМЯ[:ИНДЕКС]")->required();
  setValue->add_option("value", args->value, "Новое значение")->required();
}

}  // namespace

void addFileCommands(CommandSet& set) {
  addShowCommand(set);
  addSetValueCommand(set);
}

}  // namespace zelmot::cli
