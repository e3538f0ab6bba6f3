#pragma once
// Child processes for the end-to-end tests: the simulator on its own pseudo-terminal and
// runs of zelmot-cli, with their output captured in files of a per-test folder.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/file_text.h"
#include "support/simulator_process.h"
#include "support/temp_folder.h"

namespace zelmot::cli::testing {

using test_support::binDir;
using test_support::ChildProcess;
// The whole file, as the programs wrote it.
inline std::string readText(const std::filesystem::path& path) {
  return test_support::readWholeFile(path);
}
inline void writeText(const std::filesystem::path& path, const std::string& bytes) {
  test_support::writeWholeFile(path, bytes);
}
// The "value" of the row named `name` in the JSON listing of `show --json`; "" when absent.
std::string jsonValueOf(const std::string& json, const std::string& name);

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// A simulator serving the compiled model on a fresh pseudo-terminal, with --log on (its
// frames are in log()); `dir` is where the test keeps its files.
class Simulator : public test_support::SimulatorProcess {
public:
  explicit Simulator(const std::filesystem::path& dir, const std::vector<std::string>& options = {});
  const std::string& pty() const { return slavePath(); }
};

// Per-test folder, settings kept inside it so nothing of the user's is read or written.
class Workspace {
public:
  Workspace();
  ~Workspace();
  const std::filesystem::path& dir() const { return folder_.path(); }
  std::string path(const std::string& name) const { return folder_.file(name); }

  // zelmot-cli with the connection options for `sim` and then `args`.
  RunResult cli(const Simulator& sim, const std::vector<std::string>& args) const;
  // zelmot-cli without a device (show, set-value).
  RunResult cliOffline(const std::vector<std::string>& args) const;
  // Starts zelmot-cli without waiting; output goes to files named after `tag`.
  std::unique_ptr<ChildProcess> startCli(const Simulator& sim, const std::vector<std::string>& args,
                                         const std::string& tag) const;
  std::vector<std::string> connection(const Simulator& sim) const;
  void setBaud(int baud) { baud_ = baud; }

private:
  RunResult run(const std::vector<std::string>& argv) const;
  test_support::TempFolder folder_;
  mutable int runs_ = 0;
  int baud_ = 115200;
};

}  // namespace zelmot::cli::testing
