#include "cli/command_set.h"

#include "cli/help_texts.h"

namespace zelmot::cli {

CLI::App* CommandSet::add(const std::string& name, const std::string& description,
                          CommandNeeds needs, CommandRunner runner) {
  return addUnder(app_, name, description, needs, std::move(runner));
}

CLI::App* CommandSet::addUnder(CLI::App& group, const std::string& name,
                               const std::string& description, CommandNeeds needs,
                               CommandRunner runner) {
  CLI::App* command = group.add_subcommand(name, description);
  setRussianHelp(*command);
  command->group("Команды");
  entries_.push_back({command, needs, std::move(runner)});
  return command;
}

CLI::App& CommandSet::group(const std::string& name, const std::string& description) {
  for (CLI::App* existing : app_.get_subcommands([](CLI::App*) { return true; })) {
    if (existing->get_name() == name) return *existing;
  }
  CLI::App* made = app_.add_subcommand(name, description);
  setRussianHelp(*made);
  made->group("Команды");
  made->require_subcommand(1);
  return *made;
}

const CommandSet::Entry* CommandSet::chosen() const {
  for (const Entry& entry : entries_) {
    if (entry.command->parsed()) return &entry;
  }
  return nullptr;
}

void addAllCommands(CommandSet& set) {
  addCheckCommand(set);
  addExchangeCommands(set);
  addPollCommands(set);
  addFileCommands(set);
  addAplyCommand(set);
  addLegacyCommand(set);
  addArchiveExportCommand(set);
}

}  // namespace zelmot::cli
