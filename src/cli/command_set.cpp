#include "cli/command_set.h"

#include "cli/help_texts.h"

namespace zelmot::cli {

CLI::App* CommandSet::add(const std::string& name, const std::string& description,
                          CommandNeeds needs, CommandRunner runner) {
  return add(&app_, name, description, needs, std::move(runner));
}

CLI::App* CommandSet::group(const std::string& name, const std::string& description) {
  for (CLI::App* existing : groups_) {
    if (existing->get_name() == name) return existing;
  }
  CLI::App* group = app_.add_subcommand(name, description);
  setRussianHelp(*group);
  group->group("Команды");
  group->require_subcommand(1);
  groups_.push_back(group);
  return group;
}

CLI::App* CommandSet::add(CLI::App* group, const std::string& name,
                          const std::string& description, CommandNeeds needs,
                          CommandRunner runner) {
  CLI::App* command = group->add_subcommand(name, description);
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
  addTableCommands(set);
  addCalibrateCommand(set);
  addClockCommand(set);
  addGraphCommand(set);
  addArchiveCommands(set);
  addArchiveExportCommand(set);
}

}  // namespace zelmot::cli
