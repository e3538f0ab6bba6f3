// zelmot-cli: the configurator's jobs from a terminal or a script.
#include <CLI/CLI.hpp>

#include <cstdio>

#include "app/termination_watch.h"
#include "cli/cancel_relay.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/session.h"

namespace {

using namespace zelmot::cli;

void addConnectionOptions(CLI::App& app, ConnectionOptions& options) {
  app.add_option("--port", options.port, "Serial port: a device path or COMn");
  app.add_option("--baud", options.baud, "Baud rate");
  app.add_option("--parity", options.parity, "Parity")->check(CLI::IsMember({"none", "even", "odd"}));
  app.add_option("--data-bits", options.dataBits, "Data bits")->check(CLI::IsMember({7, 8}));
  app.add_option("--stop-bits", options.stopBits, "Stop bits")->check(CLI::IsMember({1, 2}));
  app.add_option("--address", options.address, "Device base address")->check(CLI::Range(0, 2047));
  app.add_option("--address-length", options.addressLength, "Address length in bits")
      ->check(CLI::IsMember({8, 11}));
  app.add_option("--converter", options.converter, "Interface converter")
      ->check(CLI::IsMember({"auto", "rts"}));
  app.add_flag("--no-attributes", options.noAttributes, "Do not exchange protection attributes");
  app.add_option("--elog", options.elog, "Append every failed exchange to this file");
  app.add_option("--data-dir", options.dataDir, "Folder of the description files");
  app.add_flag("--trace", options.trace, "Print every frame sent and received");
  app.add_flag("-q,--quiet", options.quiet, "Print only the summary");
}

}  // namespace

int main(int argc, char** argv) {
  CancelRelay cancel;
  // Before any other thread exists, so that every thread inherits the blocked signals.
  zelmot::app::TerminationWatch signals;
  signals.start([&cancel] { cancel.fire(); });

  CLI::App app{"ZELMOT configurator without a display"};
  app.require_subcommand(1);
  ConnectionOptions connection;
  addConnectionOptions(app, connection);

  ExchangeArgs exchangeArgs;
  PollArgs pollArgs;
  std::string file;
  std::string branch;
  std::string parameter;
  std::string value;
  bool json = false;

  CLI::App* check = app.add_subcommand("check", "Check the link with the device");
  CLI::App* read = app.add_subcommand("read", "Read every parameter and save the configuration");
  read->add_option("-o,--output", exchangeArgs.output, "Configuration file to write")->required();
  read->add_option("--branch", exchangeArgs.branch, "Only this branch (names joined with /)");

  CLI::App* write = app.add_subcommand("write", "Write a configuration to the device");
  write->add_option("input", exchangeArgs.input, "Configuration file")->required();
  auto* changed = write->add_flag("--changed", exchangeArgs.changedOnly, "Only changed values");
  auto* errors = write->add_flag("--errors", exchangeArgs.errorsOnly, "Only parameters with errors");
  changed->excludes(errors);
  write->add_option("--branch", exchangeArgs.branch, "Only this branch");
  write->add_option("-o,--output", exchangeArgs.output, "Save the resulting state here");

  CLI::App* compare = app.add_subcommand("compare", "Compare a configuration with the device");
  compare->add_option("input", exchangeArgs.input, "Configuration file")->required();
  compare->add_option("--branch", exchangeArgs.branch, "Only this branch");
  compare->add_option("-o,--output", exchangeArgs.output, "Save the configuration with the marks");

  CLI::App* get = app.add_subcommand("get", "Read one parameter by its name");
  get->add_option("parameter", pollArgs.parameter, "NAME[:INDEX]")->required();
  get->add_flag("--index-in-address", pollArgs.indexInAddress, "Carry the index in the address");
  CLI::App* set = app.add_subcommand("set", "Write one parameter by its name");
  set->add_option("parameter", pollArgs.parameter, "NAME[:INDEX]")->required();
  set->add_option("value", pollArgs.value, "Value to write")->required();
  set->add_flag("--index-in-address", pollArgs.indexInAddress, "Carry the index in the address");

  CLI::App* show = app.add_subcommand("show", "Show a saved configuration");
  show->add_option("file", file, "Configuration file")->required();
  show->add_option("--branch", branch, "Only this branch");
  show->add_flag("--json", json, "As JSON");

  CLI::App* setValue = app.add_subcommand("set-value", "Change a value in a saved configuration");
  setValue->add_option("file", file, "Configuration file")->required();
  setValue->add_option("parameter", parameter, "NAME[:INDEX]")->required();
  setValue->add_option("value", value, "New value")->required();

  CLI::App* aply = app.add_subcommand("aply", "Make the device take its new network settings");
  AplyArgs aplyArgs;
  aply->add_flag("--broadcast", aplyArgs.broadcast, "Also tell every device on the line");
  aply->add_flag("--once", aplyArgs.once, "One broadcast instead of three");

  CLI::App* legacy = app.add_subcommand(
      "legacy", "Run a command line of the desktop program without a window (/read/port:3 f.zel)");
  std::string exitEventName;
  legacy->add_option("--signal-exit", exitEventName, "Signal the exit event NAME of a running program");
  legacy->prefix_command();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? kExitOk : kExitUsage;
  }

  if (*legacy && !exitEventName.empty()) return signalExitEvent(exitEventName);

  Session session(connection, cancel);
  std::string error;
  if (!session.start(error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitUsage;
  }
  if (*check) return runCheck(session);
  if (*read) return runRead(session, exchangeArgs);
  if (*write) return runWrite(session, exchangeArgs);
  if (*compare) return runCompare(session, exchangeArgs);
  if (*get) return runPoll(session, pollArgs);
  if (*set) {
    pollArgs.write = true;
    return runPoll(session, pollArgs);
  }
  if (*aply) return runAply(session, aplyArgs);
  if (*legacy) return runLegacy(session, legacy->remaining());
  if (*show) return runShow(session, file, branch, json);
  if (*setValue) return runSetValue(session, file, parameter, value);
  return kExitUsage;
}
