#pragma once
// The sub-commands of zelmot-cli. Each command file adds its own sub-command (options and
// runner) through this set, so the program's entry only parses and runs the one chosen.
#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

#include "cli/session.h"

namespace zelmot::cli {

// What a command needs before its runner is called.
enum class CommandNeeds {
  Nothing,      // the runner starts the session itself, when it needs one
  Description,  // the description files (configuration files without the device)
  Device,       // the description files and a port that opens
};

using CommandRunner = std::function<int(Session&)>;

class CommandSet {
public:
  explicit CommandSet(CLI::App& app) : app_(app) {}

  // Adds the sub-command; the caller adds its options to the returned app.
  CLI::App* add(const std::string& name, const std::string& description, CommandNeeds needs,
                CommandRunner runner);
  // A command that only groups sub-commands ("archive list", "archive pack" ...), made on
  // the first call; later calls with the same name return the same group.
  CLI::App* group(const std::string& name, const std::string& description);
  // Adds a sub-command to a group made by `group`.
  CLI::App* add(CLI::App* group, const std::string& name, const std::string& description,
                CommandNeeds needs, CommandRunner runner);

  struct Entry {
    CLI::App* command = nullptr;
    CommandNeeds needs = CommandNeeds::Nothing;
    CommandRunner runner;
  };
  // The sub-command given on the command line; null before parsing or when none was.
  const Entry* chosen() const;

private:
  CLI::App& app_;
  std::vector<Entry> entries_;
  std::vector<CLI::App*> groups_;
};

// Every command of the program, each added by its own file.
void addAllCommands(CommandSet& set);

void addCheckCommand(CommandSet& set);
void addPollCommands(CommandSet& set);
void addExchangeCommands(CommandSet& set);
void addFileCommands(CommandSet& set);
void addAplyCommand(CommandSet& set);
void addLegacyCommand(CommandSet& set);
void addMeasureCommand(CommandSet& set);
void addTableCommands(CommandSet& set);
void addCalibrateCommand(CommandSet& set);
void addClockCommand(CommandSet& set);
void addGraphCommand(CommandSet& set);
void addArchiveCommands(CommandSet& set);
void addArchiveExportCommand(CommandSet& set);

// The "archive" group, for files that add further archive sub-commands ("archive export").
CLI::App* archiveCommandGroup(CommandSet& set);

}  // namespace zelmot::cli
