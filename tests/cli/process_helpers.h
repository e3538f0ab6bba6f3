#pragma once
// Child processes for the end-to-end tests: the simulator on its own pseudo-terminal and
// runs of zelmot-cli, with their output captured in files of a per-test folder.
#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace zelmot::cli::testing {

std::filesystem::path binDir();
std::string readText(const std::filesystem::path& path);
void writeText(const std::filesystem::path& path, const std::string& bytes);
// The "value" of the row named `name` in the JSON listing of `show --json`; "" when absent.
std::string jsonValueOf(const std::string& json, const std::string& name);

class ChildProcess {
public:
  ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& out,
               const std::filesystem::path& err);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  void signal(int number) const;
  int wait();  // exit status, or 128 + signal

private:
  pid_t pid_ = -1;
  bool waited_ = false;
  int status_ = -1;
};

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// A simulator serving a fresh pseudo-terminal, with --log on (its frames are in log()).
class Simulator {
public:
  Simulator(const std::filesystem::path& dir, const std::vector<std::string>& options = {});
  ~Simulator();
  const std::string& pty() const { return pty_; }
  std::string log() const { return readText(err_); }
  // The data bytes of every write frame for `name`, as the log shows them ("[03]").
  std::vector<std::string> writesOf(const std::string& name) const;
  // Names of every write frame, in order.
  std::vector<std::string> writtenNames() const;

private:
  std::filesystem::path out_;
  std::filesystem::path err_;
  std::unique_ptr<ChildProcess> process_;
  std::string pty_;
};

// Per-test folder, settings kept inside it so nothing of the user's is read or written.
class Workspace {
public:
  Workspace();
  ~Workspace();
  const std::filesystem::path& dir() const { return dir_; }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

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
  std::filesystem::path dir_;
  mutable int runs_ = 0;
  int baud_ = 115200;
};

}  // namespace zelmot::cli::testing
