// The zelmot-sim program itself, run as a child process: the slave path on the first line,
// the --link symlink, answers through the program's link, and the state saved on SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/device_protocol.h"
#include "model/description_files.h"
#include "model/parameter.h"
#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

namespace fs = std::filesystem;

const std::string kSimulator = std::string(ZELMOT_BIN_DIR) + "/zelmot-sim";

class ChildSimulator {
public:
  explicit ChildSimulator(const std::vector<std::string>& arguments) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      std::vector<char*> argv{const_cast<char*>(kSimulator.c_str())};
      for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(kSimulator.c_str(), argv.data());
      _exit(127);
    }
    close(out[1]);
    output_ = fdopen(out[0], "r");
  }
  ~ChildSimulator() {
    if (pid_ > 0 && !waited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (output_ != nullptr) fclose(output_);
  }

  std::string firstLine() {
    char line[256] = {};
    if (output_ == nullptr || fgets(line, sizeof line, output_) == nullptr) return "";
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }

  std::string rest() {
    std::string text;
    char buffer[512];
    size_t n;
    while (output_ != nullptr && (n = fread(buffer, 1, sizeof buffer, output_)) > 0) {
      text.append(buffer, n);
    }
    return text;
  }

  // Sends the signal and returns the exit status (-1 when it did not exit normally).
  int stop(int signal) {
    kill(pid_, signal);
    int status = 0;
    waitpid(pid_, &status, 0);
    waited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  int wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    waited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

private:
  pid_t pid_ = -1;
  FILE* output_ = nullptr;
  bool waited_ = false;
};

class ExecutableTest : public ::testing::Test {
protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() / ("zelmot_sim_exe_" + std::to_string(getpid()));
    fs::create_directories(directory_);
    std::string error;
    ASSERT_TRUE(model::writeCatalogueFile((directory_ / model::kCatalogueFileName).string(),
                                          testCatalogue(), error))
        << error;
  }
  void TearDown() override { fs::remove_all(directory_); }

  fs::path directory_;
};

TEST_F(ExecutableTest, HelpNamesEveryOption) {
  ChildSimulator sim({"--help"});
  const std::string help = sim.rest();
  EXPECT_EQ(sim.wait(), 0);
  for (const char* option :
       {"--device", "--link", "--baud", "--address", "--address-length", "--type", "--firmware",
        "--data-dir", "--state", "--status", "--discrete-inputs", "--factory-rights",
        "--calibration-seconds", "--calibration-fault", "--pace", "--turnaround", "--seed",
        "--drop-replies", "--corrupt-checksums", "--no-start", "--foreign-code", "--error-code",
        "--silent-after", "--hangup-after", "--log"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

TEST_F(ExecutableTest, ServesAndSavesItsStateOnTerm) {
  const std::string state = (directory_ / "device.state").string();
  const std::string linkPath = (directory_ / "ttyZELMOT").string();
  ChildSimulator sim({"--data-dir", directory_.string(), "--state", state, "--link", linkPath,
                      "--pace", "--baud", "115200"});
  const std::string slave = sim.firstLine();
  ASSERT_EQ(slave.rfind("/dev/pts/", 0), 0u) << slave;
  EXPECT_EQ(fs::read_symlink(linkPath).string(), slave);

  {
    link::DeviceProtocol link;
    link.port().setPortName(linkPath);
    ASSERT_EQ(link.port().open_port(), link::OpenResult::Ok) << link.port().lastErrorText();
    model::Parameter counter;
    counter.setName("Cnt");
    counter.setTypeDescriptor("DEC_dot");
    counter.setRawValueText("321");
    ASSERT_EQ(link.exchange_parameter(0, counter, nullptr), link::ParameterResult::Ok) << counter.errorText();
    model::Parameter type;
    type.setName("dev");
    ASSERT_EQ(link.exchange_parameter(1, type, nullptr), link::ParameterResult::Ok) << type.errorText();
    EXPECT_EQ(type.valueText(), "ZELMOT");
  }
  EXPECT_EQ(sim.stop(SIGTERM), 0);
  EXPECT_FALSE(fs::exists(linkPath)) << "the link goes with the simulator";
  std::ifstream in(state);
  std::stringstream saved;
  saved << in.rdbuf();
  EXPECT_NE(saved.str().find("value\tCnt\t-1\t321\n"), std::string::npos) << saved.str();
}

TEST_F(ExecutableTest, RefusesAMissingCatalogue) {
  ChildSimulator sim({"--data-dir", (directory_ / "nothing").string()});
  EXPECT_EQ(sim.wait(), 2);
}

TEST_F(ExecutableTest, RefusesMalformedStatus) {
  ChildSimulator sim({"--data-dir", directory_.string(), "--status", "rEAd:9=253"});
  EXPECT_EQ(sim.wait(), 2);
}

}  // namespace
}  // namespace zelmot::sim::testing
