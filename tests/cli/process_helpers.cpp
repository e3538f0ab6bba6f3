#include "cli/process_helpers.h"

#include <stdlib.h>

namespace zelmot::cli::testing {

Simulator::Simulator(const std::filesystem::path&, const std::vector<std::string>& options)
    : SimulatorProcess(servingTheModel(options)) {}

std::string jsonValueOf(const std::string& json, const std::string& name) {
  const std::string key = "\"name\": \"" + name + "\",";
  const size_t row = json.find(key);
  if (row == std::string::npos) return {};
  const std::string valueKey = "\"value\": \"";
  const size_t value = json.find(valueKey, row);
  if (value == std::string::npos) return {};
  const size_t first = value + valueKey.size();
  return json.substr(first, json.find('"', first) - first);
}

Workspace::Workspace() {
  ::setenv("ZELMOT_CONFIG_DIR", dir().c_str(), 1);
  ::setenv("ZELMOT_HOME", dir().c_str(), 1);
}

Workspace::~Workspace() = default;

std::vector<std::string> Workspace::connection(const Simulator& sim) const {
  return {"--port", sim.pty(), "--converter", "auto", "--baud", std::to_string(baud_)};
}

RunResult Workspace::run(const std::vector<std::string>& argv) const {
  const int run = ++runs_;
  const auto out = dir() / ("cli" + std::to_string(run) + ".out");
  const auto err = dir() / ("cli" + std::to_string(run) + ".err");
  ChildProcess process(argv, out, err);
  RunResult result;
  result.exitCode = process.wait();
  result.out = readText(out);
  result.err = readText(err);
  return result;
}

RunResult Workspace::cli(const Simulator& sim, const std::vector<std::string>& args) const {
  std::vector<std::string> argv = {(binDir() / "zelmot-cli").string(), "--data-dir",
                                   binDir().string()};
  const auto options = connection(sim);
  argv.insert(argv.end(), options.begin(), options.end());
  argv.insert(argv.end(), args.begin(), args.end());
  return run(argv);
}

RunResult Workspace::cliOffline(const std::vector<std::string>& args) const {
  std::vector<std::string> argv = {(binDir() / "zelmot-cli").string(), "--data-dir",
                                   binDir().string()};
  argv.insert(argv.end(), args.begin(), args.end());
  return run(argv);
}

std::unique_ptr<ChildProcess> Workspace::startCli(const Simulator& sim,
                                                  const std::vector<std::string>& args,
                                                  const std::string& tag) const {
  std::vector<std::string> argv = {(binDir() / "zelmot-cli").string(), "--data-dir",
                                   binDir().string()};
  const auto options = connection(sim);
  argv.insert(argv.end(), options.begin(), options.end());
  argv.insert(argv.end(), args.begin(), args.end());
  return std::make_unique<ChildProcess>(argv, dir() / (tag + ".out"), dir() / (tag + ".err"));
}

}  // namespace zelmot::cli::testing
