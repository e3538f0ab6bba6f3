// The desktop program's command line run headless (zelmot-cli legacy) and the APLY command,
// against the simulator. COM numbers reach the simulator's pty through the [ports] section.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "cli/process_helpers.h"

namespace zelmot::cli::testing {
namespace {

using ::testing::HasSubstr;

constexpr int kComNumber = 5;
constexpr const char* kFastLine = "/port:5/rs485:auto/bps:115200";

class CliLegacy : public ::testing::Test {
protected:
  Workspace work;
  Simulator sim{work.dir(), {"--baud", "115200"}};

  void SetUp() override {
    ASSERT_FALSE(sim.pty().empty());
    std::ofstream(work.dir() / "zelmot.ini")
        << "[ports]\nCOM" << kComNumber << "=" << sim.pty() << "\n";
  }
  RunResult legacy(std::vector<std::string> line) const {
    line.insert(line.begin(), {"--quiet", "legacy"});
    return work.cliOffline(line);
  }
  std::string settingsText() const { return readText(work.dir() / "zelmot.ini"); }
};

TEST_F(CliLegacy, ReadSavesTheDocumentPathAndEnds) {
  const RunResult read = legacy({std::string(kFastLine) + "/read/close", work.path("out.zel")});
  ASSERT_EQ(read.exitCode, 0) << read.out << read.err;
  const RunResult shown = work.cliOffline({"show", work.path("out.zel")});
  EXPECT_THAT(shown.out, HasSubstr("\tdev\tZELMOT\t"));
  EXPECT_TRUE(std::filesystem::is_directory(work.dir() / "protocol"));
  EXPECT_TRUE(std::filesystem::is_directory(work.dir() / "temp"));
}

TEST_F(CliLegacy, ReadWithoutPortSaysSoAndKeepsTheFile) {
  writeText(work.path("out.zel"), "kept");
  const RunResult read = legacy({"/read/rs485:auto/bps:115200", work.path("out.zel")});
  EXPECT_EQ(read.exitCode, 2) << read.err;
  EXPECT_THAT(read.err, HasSubstr("ничего не прочитано"));
  EXPECT_EQ(readText(work.path("out.zel")), "kept");
  EXPECT_THAT(sim.log(), ::testing::Not(HasSubstr("<- addr")));
}

TEST_F(CliLegacy, UnreadableFileIsNeitherWrittenNorSavedOver) {
  writeText(work.path("bad.zel"), "not a configuration");
  const RunResult written =
      legacy({std::string(kFastLine) + "/write/read/close", work.path("bad.zel")});
  EXPECT_EQ(written.exitCode, 2);
  EXPECT_THAT(written.err, HasSubstr("не является файлом конфигурации ZELMOT"));
  EXPECT_EQ(readText(work.path("bad.zel")), "not a configuration");
  EXPECT_TRUE(sim.writtenNames().empty());
}

TEST_F(CliLegacy, SummaryUnlessQuietAndGlobalConverterAccepted) {
  const RunResult read = work.cliOffline({"--converter", "auto", "legacy",
                                          "/port:5/bps:115200/read/close", work.path("a.zel")});
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_THAT(read.out, HasSubstr(", ошибок: 0"));
  const RunResult quiet = legacy({std::string(kFastLine) + "/read/close", work.path("a.zel")});
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.out, "");
}

TEST_F(CliLegacy, WriteJobOpensTheFileAndAplyFollowsNetworkChanges) {
  ASSERT_EQ(legacy({std::string(kFastLine) + "/read", work.path("a.zel")}).exitCode, 0);
  ASSERT_EQ(work.cliOffline({"set-value", work.path("a.zel"), "SP:1", "33.5"}).exitCode, 0);
  ASSERT_EQ(work.cliOffline({"set-value", work.path("a.zel"), "Addr", "40"}).exitCode, 0);

  // write wins over read; the network setting written makes the task finish send APLY.
  const RunResult written =
      legacy({std::string(kFastLine) + "/read/write/aply/close", work.path("a.zel")});
  // Some parameters are protected in the device: 1, not a failed run.
  EXPECT_EQ(written.exitCode, 1) << written.out << written.err;
  EXPECT_THAT(sim.writtenNames(), ::testing::Contains("SP"));
  EXPECT_THAT(sim.writtenNames(), ::testing::Contains("APLY"));
  EXPECT_THAT(settingsText(), HasSubstr("address=40"));
  // The program follows the device: the saved settings reach it at its new address.
  const RunResult checked = work.cliOffline({"--port", sim.pty(), "--converter", "auto", "check"});
  EXPECT_EQ(checked.exitCode, 0) << checked.out << checked.err;
}

TEST_F(CliLegacy, WriteOfAMissingFileOpensNothing) {
  const RunResult written = legacy({std::string(kFastLine) + "/write", work.path("none.zel")});
  EXPECT_EQ(written.exitCode, 2);
  EXPECT_THAT(written.err, HasSubstr("не найден"));
  EXPECT_THAT(sim.writtenNames(), ::testing::Not(::testing::Contains("SP")));
}

TEST_F(CliLegacy, ExitEventEndsARunThatWaitsForIt) {
  const std::string name = "zelmot_cli_test_" + std::to_string(::getpid());
  auto running = work.startCli(sim, {"--quiet", "legacy", std::string(kFastLine) + "/exitevent:" + name},
                               "waiting");
  ASSERT_TRUE(running->started());
  RunResult signalled;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  do {  // the event exists once the run has started
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    signalled = work.cliOffline({"legacy", "--signal-exit", name});
  } while (signalled.exitCode != 0 && std::chrono::steady_clock::now() < deadline);
  ASSERT_EQ(signalled.exitCode, 0) << signalled.err;
  EXPECT_EQ(running->wait(), 0);
}

TEST_F(CliLegacy, AplyMovesTheDeviceAndTheProgramFollows) {
  ASSERT_EQ(work.cli(sim, {"set", "Addr", "24"}).exitCode, 0);
  // Stored in the device, not yet in force: the device still answers at 16.
  ASSERT_EQ(work.cli(sim, {"--quiet", "check"}).exitCode, 0);

  const RunResult applied = work.cli(sim, {"--quiet", "aply", "--broadcast", "--once"});
  ASSERT_EQ(applied.exitCode, 0) << applied.out << applied.err;
  EXPECT_THAT(applied.out, HasSubstr("Базовый адрес прибора: 24"));
  EXPECT_THAT(applied.out, HasSubstr("APLY всем приборам: 1"));
  EXPECT_THAT(sim.log(), HasSubstr("(broadcast)"));
  EXPECT_THAT(settingsText(), HasSubstr("address=24"));

  EXPECT_EQ(work.cli(sim, {"--quiet", "check"}).exitCode, 0) << "saved settings follow the device";
  EXPECT_EQ(work.cli(sim, {"--quiet", "--address", "16", "check"}).exitCode, 3);
}

}  // namespace
}  // namespace zelmot::cli::testing
