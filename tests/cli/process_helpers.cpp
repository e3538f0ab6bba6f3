#include "cli/process_helpers.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace zelmot::cli::testing {

std::filesystem::path binDir() { return ZELMOT_BIN_DIR; }

std::string readText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeText(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

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

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& out,
                           const std::filesystem::path& err) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !waited_) {
    ::kill(pid_, SIGKILL);
    wait();
  }
}

void ChildProcess::signal(int number) const {
  if (pid_ > 0 && !waited_) ::kill(pid_, number);
}

int ChildProcess::wait() {
  if (pid_ <= 0) return -1;
  if (!waited_) {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    waited_ = true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  return status_;
}

Simulator::Simulator(const std::filesystem::path& dir, const std::vector<std::string>& options)
    : out_(dir / "sim.out"), err_(dir / "sim.err") {
  std::vector<std::string> argv = {(binDir() / "zelmot-sim").string(), "--data-dir",
                                   binDir().string(), "--log"};
  argv.insert(argv.end(), options.begin(), options.end());
  process_ = std::make_unique<ChildProcess>(argv, out_, err_);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string text = readText(out_);
    const size_t end = text.find('\n');
    if (end != std::string::npos) {
      pty_ = text.substr(0, end);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

Simulator::~Simulator() {
  process_->signal(SIGTERM);
  process_->wait();
}

std::vector<std::string> Simulator::writtenNames() const {
  std::vector<std::string> names;
  std::istringstream lines(log());
  std::string line;
  while (std::getline(lines, line)) {
    // "<- addr=16 write 0xAE7C n.Ch [02]"
    std::istringstream words(line);
    std::string arrow, address, kind, code, name;
    if (words >> arrow >> address >> kind >> code >> name && arrow == "<-" && kind == "write") {
      names.push_back(name);
    }
  }
  return names;
}

std::vector<std::string> Simulator::writesOf(const std::string& name) const {
  std::vector<std::string> data;
  std::istringstream lines(log());
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string arrow, address, kind, code, written;
    if (words >> arrow >> address >> kind >> code >> written && arrow == "<-" &&
        kind == "write" && written == name) {
      std::string rest;
      std::getline(words, rest);
      data.push_back(rest.substr(rest.find_first_not_of(' ')));
    }
  }
  return data;
}

Workspace::Workspace() {
  char pattern[] = "/tmp/zelmot_cli_XXXXXX";
  dir_ = ::mkdtemp(pattern) ? pattern : "/tmp";
  ::setenv("ZELMOT_CONFIG_DIR", dir_.c_str(), 1);
  ::setenv("ZELMOT_HOME", dir_.c_str(), 1);
}

Workspace::~Workspace() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::vector<std::string> Workspace::connection(const Simulator& sim) const {
  return {"--port", sim.pty(), "--converter", "auto", "--baud", std::to_string(baud_)};
}

RunResult Workspace::run(const std::vector<std::string>& argv) const {
  const int run = ++runs_;
  const auto out = dir_ / ("cli" + std::to_string(run) + ".out");
  const auto err = dir_ / ("cli" + std::to_string(run) + ".err");
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
  return std::make_unique<ChildProcess>(argv, dir_ / (tag + ".out"), dir_ / (tag + ".err"));
}

}  // namespace zelmot::cli::testing
