// Configuration files through the CLI: editing, round trips and damaged files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/process_helpers.h"

namespace zelmot::cli::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class CliFiles : public ::testing::Test {
protected:
  Workspace work;
};

TEST_F(CliFiles, SetValueKeepsEverythingElseOfTheFile) {
  Simulator sim(work.dir());
  // Read one branch (the rest stays without data), make two differences in the device and
  // compare, so the file carries compare marks; then edit one value offline.
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "--branch", "Регуляторы", "-o", work.path("a.zel")})
                .exitCode, 0);
  ASSERT_EQ(work.cli(sim, {"set", "P.Hi:2", "70"}).exitCode, 0);
  ASSERT_EQ(work.cli(sim, {"--quiet", "compare", work.path("a.zel"), "--branch", "Регуляторы",
                           "-o", work.path("m.zel")}).exitCode, 1);
  const std::string before = work.cliOffline({"show", "--json", work.path("m.zel")}).out;
  ASSERT_THAT(before, HasSubstr("Знач-е в приборе: '70'"));

  const RunResult edited = work.cliOffline({"set-value", work.path("m.zel"), "SP:4", "33.5"});
  ASSERT_EQ(edited.exitCode, 0) << edited.err;
  const std::string after = work.cliOffline({"show", "--json", work.path("m.zel")}).out;
  EXPECT_EQ(jsonValueOf(after, "SP:4"), "33.500");
  EXPECT_THAT(after, HasSubstr("Знач-е в приборе: '70'"));
  EXPECT_THAT(after, HasSubstr("\"value\": \"Нет данных\""));
  EXPECT_THAT(after, HasSubstr("\"changed\": true"));
  EXPECT_THAT(before, Not(HasSubstr("\"changed\": true")));
}

TEST_F(CliFiles, RefusedValueLeavesTheFileAlone) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "-o", work.path("a.zel")}).exitCode, 0);
  const std::string original = readText(work.path("a.zel"));
  EXPECT_EQ(work.cliOffline({"set-value", work.path("a.zel"), "n.Obj", "50"}).exitCode, 2);
  EXPECT_EQ(work.cliOffline({"set-value", work.path("a.zel"), "no.SuCh", "1"}).exitCode, 2);
  EXPECT_EQ(readText(work.path("a.zel")), original);
}

TEST_F(CliFiles, DamagedFilesAreRefusedAndOutputsStayUntouched) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "-o", work.path("a.zel")}).exitCode, 0);
  const std::string good = readText(work.path("a.zel"));
  writeText(work.path("out.zel"), "precious");

  // The parameter count of the first block: the title's length byte, the title, the count.
  std::string corrupted = good;
  corrupted[1 + static_cast<uint8_t>(good[0]) + 3] = '\x7F';
  const std::vector<std::string> damaged = {"plain text, not a configuration\n",
                                            std::string("\x93\x01\xff\x00\x7f\x42\x10", 7),
                                            good.substr(0, good.size() - 3),
                                            good.substr(0, good.size() / 2), good + "x", "",
                                            corrupted};
  for (size_t i = 0; i < damaged.size(); ++i) {
    SCOPED_TRACE(i);
    writeText(work.path("bad.zel"), damaged[i]);
    const RunResult shown = work.cliOffline({"show", work.path("bad.zel")});
    EXPECT_EQ(shown.exitCode, 2);
    EXPECT_THAT(shown.err, HasSubstr("не является файлом конфигурации ZELMOT или повреждён: "));
    EXPECT_EQ(shown.err.find(work.path("bad.zel")), shown.err.rfind(work.path("bad.zel")))
        << "the path once: " << shown.err;
    EXPECT_EQ(work.cli(sim, {"--quiet", "write", work.path("bad.zel"), "-o", work.path("out.zel")})
                  .exitCode, 2);
    EXPECT_TRUE(readText(work.path("out.zel")) == "precious");
  }
  EXPECT_TRUE(sim.writtenNames().empty());
  EXPECT_EQ(work.cliOffline({"show", work.path("missing.zel")}).exitCode, 2);
}

TEST_F(CliFiles, BadUsageIsExitTwo) {
  EXPECT_EQ(work.cliOffline({}).exitCode, 2);
  EXPECT_EQ(work.cliOffline({"frobnicate"}).exitCode, 2);
  EXPECT_EQ(work.cliOffline({"write", "x.zel", "--changed", "--errors"}).exitCode, 2);
  EXPECT_EQ(work.cliOffline({"--parity", "mark", "check"}).exitCode, 2);
}

}  // namespace
}  // namespace zelmot::cli::testing
