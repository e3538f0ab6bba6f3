#include "support/simulator_process.h"

#include <signal.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "support/file_text.h"

namespace zelmot::test_support {
namespace {

struct WriteLine {
  std::string name;
  std::string data;
};

// "<- addr=16 write 0xAE7C n.Ch [02]"
bool parseWriteLine(const std::string& line, WriteLine& write) {
  std::istringstream words(line);
  std::string arrow, address, kind, code;
  if (!(words >> arrow >> address >> kind >> code >> write.name) || arrow != "<-" ||
      kind != "write") {
    return false;
  }
  std::getline(words, write.data);
  const size_t start = write.data.find_first_not_of(' ');
  write.data = start == std::string::npos ? std::string() : write.data.substr(start);
  return true;
}

std::vector<WriteLine> writeLines(const std::string& log) {
  std::vector<WriteLine> writes;
  std::istringstream lines(log);
  std::string line;
  WriteLine write;
  while (std::getline(lines, line)) {
    if (parseWriteLine(line, write)) writes.push_back(write);
  }
  return writes;
}

}  // namespace

SimulatorProcess::SimulatorProcess(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv = {(binDir() / "zelmot-sim").string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  process_ = std::make_unique<ChildProcess>(argv, folder_ / "sim.out", folder_ / "sim.err");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    const bool running = process_->running();
    const std::string text = output();
    const size_t end = text.find('\n');
    if (end != std::string::npos) {
      firstLine_ = text.substr(0, end);
      return;
    }
    if (!running) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

SimulatorProcess::~SimulatorProcess() { stop(SIGTERM); }

std::vector<std::string> SimulatorProcess::servingTheModel(
    const std::vector<std::string>& options) {
  std::vector<std::string> arguments = {"--data-dir", binDir().string(), "--log"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  return arguments;
}

std::string SimulatorProcess::output() const { return readWholeFile(folder_ / "sim.out"); }

std::string SimulatorProcess::log() const { return readWholeFile(folder_ / "sim.err"); }

std::vector<std::string> SimulatorProcess::writesOf(const std::string& name) const {
  std::vector<std::string> data;
  for (const WriteLine& write : writeLines(log())) {
    if (write.name == name) data.push_back(write.data);
  }
  return data;
}

std::vector<std::string> SimulatorProcess::writtenNames() const {
  std::vector<std::string> names;
  for (const WriteLine& write : writeLines(log())) names.push_back(write.name);
  return names;
}

std::vector<std::string> SimulatorProcess::writtenValueNames() const {
  std::vector<std::string> names;
  for (const WriteLine& write : writeLines(log())) {
    if (write.name != "M.s.t.r.") names.push_back(write.name);
  }
  return names;
}

std::vector<std::string> SimulatorProcess::readNames() const {
  std::vector<std::string> names;
  std::istringstream lines(log());
  std::string line;
  while (std::getline(lines, line)) {
    // "<- addr=16 read 0xAE7C rEAd"
    std::istringstream words(line);
    std::string arrow, address, kind, code, name;
    if (words >> arrow >> address >> kind >> code >> name && arrow == "<-" && kind == "read") {
      names.push_back(name);
    }
  }
  return names;
}

void SimulatorProcess::signal(int number) const { process_->signal(number); }

int SimulatorProcess::stop(int signal) {
  process_->signal(signal);
  return process_->wait();
}

int SimulatorProcess::wait() { return process_->wait(); }

}  // namespace zelmot::test_support
