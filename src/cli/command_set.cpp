#include "cli/command_set.h"

#include "cli/help_texts.h"

namespace zelmot::cli {

CLI::App* CommandSet::add(const std::string& name, const std::string& description,
                          CommandNeeds needs, CommandRunner runner) {
  CLI::App* command = app_.add_subcommand(name, description);
  setRussianHelp(*command);
  command->group("Команды");
  entries_.push_back({command, needs, std::move(runner)});
  return command;
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
  addMeasureCommand(set);
}

}  // namespace zelmot::cli
