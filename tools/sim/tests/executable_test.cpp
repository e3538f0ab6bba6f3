// The zelmot-sim program itself, run as a child process: the slave path on the first line,
// the --link symlink, answers through the program's link, and the state saved on SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>

#include "link/device_protocol.h"
#include "model/description_files.h"
#include "model/parameter.h"
#include "sim_harness.h"
#include "support/file_text.h"
#include "support/simulator_process.h"
#include "support/temp_folder.h"

namespace zelmot::sim::testing {
namespace {

namespace fs = std::filesystem;

using test_support::SimulatorProcess;

class ExecutableTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(model::writeCatalogueFile(folder_.file(model::kCatalogueFileName),
                                          testCatalogue(), error))
        << error;
  }

  // Serves the test catalogue with `options`.
  std::vector<std::string> serving(std::vector<std::string> options) const {
    options.insert(options.begin(), {"--data-dir", folder_.path().string()});
    return options;
  }

  test_support::TempFolder folder_;
};

TEST_F(ExecutableTest, HelpIsRussianAndNamesEveryOption) {
  SimulatorProcess sim({"--help"});
  EXPECT_EQ(sim.wait(), 0);
  const std::string help = sim.output();
  EXPECT_NE(help.find("Симулятор регулятора ZELMOT"), std::string::npos) << help;
  EXPECT_NE(help.find("Показать эту справку и выйти"), std::string::npos) << help;
  EXPECT_EQ(help.find("Print this help"), std::string::npos) << help;
  for (const char* option :
       {"--device", "--link", "--baud", "--address", "--address-length", "--type", "--firmware",
        "--data-dir", "--state", "--status", "--discrete-inputs", "--factory-rights",
        "--calibration-seconds", "--calibration-fault", "--pace", "--turnaround", "--seed",
        "--drop-replies", "--corrupt-checksums", "--no-start", "--foreign-code", "--error-code",
        "--silent-after", "--hangup-after", "--log", "--version"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

TEST_F(ExecutableTest, ServesAndSavesItsStateOnTerm) {
  const std::string state = folder_.file("device.state");
  const std::string linkPath = folder_.file("ttyZELMOT");
  SimulatorProcess sim(
      serving({"--state", state, "--link", linkPath, "--pace", "--baud", "115200"}));
  const std::string slave = sim.slavePath();
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
  const std::string saved = test_support::readWholeFile(state);
  EXPECT_NE(saved.find("value\tCnt\t-1\t321\n"), std::string::npos) << saved;
}

TEST_F(ExecutableTest, VersionIsTheProgramsNameAndVersion) {
  SimulatorProcess sim({"--version"});
  EXPECT_EQ(sim.wait(), 0);
  EXPECT_EQ(sim.output().rfind("zelmot-sim ", 0), 0u) << sim.output();
}

TEST_F(ExecutableTest, RefusesAMissingCatalogue) {
  SimulatorProcess sim({"--data-dir", folder_.file("nothing")});
  EXPECT_EQ(sim.wait(), 2);
}

TEST_F(ExecutableTest, RefusesMalformedStatusInRussian) {
  SimulatorProcess sim(serving({"--status", "rEAd:9=253"}));
  EXPECT_EQ(sim.wait(), 2);
  EXPECT_NE(sim.log().find("ожидалось NAME:INDEX=CODE"), std::string::npos) << sim.log();
}

TEST_F(ExecutableTest, UnknownOptionIsAUsageErrorInRussian) {
  SimulatorProcess sim({"--no-such-option"});
  EXPECT_EQ(sim.wait(), 2);
  EXPECT_NE(sim.log().find("ошибка в командной строке"), std::string::npos) << sim.log();
  EXPECT_NE(sim.log().find("zelmot-sim --help"), std::string::npos) << sim.log();
}

// A second simulator must not steal the link a host is using to reach the first one.
TEST_F(ExecutableTest, LinkToARunningSimulatorIsNotTakenOver) {
  const std::string linkPath = folder_.file("ttyZELMOT");
  SimulatorProcess first(serving({"--link", linkPath}));
  ASSERT_FALSE(first.slavePath().empty());
  SimulatorProcess second(serving({"--link", linkPath}));
  EXPECT_EQ(second.wait(), 3);
  EXPECT_TRUE(second.slavePath().empty()) << "no path is offered for a line without its link";
  EXPECT_NE(second.log().find(first.slavePath()), std::string::npos) << second.log();
  EXPECT_EQ(fs::read_symlink(linkPath).string(), first.slavePath());
  EXPECT_EQ(first.stop(SIGTERM), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(linkPath))) << "the first removes its own link";
}

TEST_F(ExecutableTest, StaleLinkIsReplacedAndAFileIsNot) {
  const std::string linkPath = folder_.file("ttyZELMOT");
  fs::create_symlink("/dev/pts/no-such-terminal", linkPath);
  SimulatorProcess sim(serving({"--link", linkPath}));
  ASSERT_FALSE(sim.slavePath().empty()) << sim.log();
  EXPECT_EQ(fs::read_symlink(linkPath).string(), sim.slavePath());
  EXPECT_EQ(sim.stop(SIGTERM), 0);

  const std::string filePath = folder_.file("notes.txt");
  test_support::writeWholeFile(filePath, "keep me");
  SimulatorProcess refused(serving({"--link", filePath}));
  EXPECT_EQ(refused.wait(), 3);
  EXPECT_EQ(test_support::readWholeFile(filePath), "keep me");
}

}  // namespace
}  // namespace zelmot::sim::testing
