// The program works at the full access level: the protection setting travels as 172..175.
#include <gtest/gtest.h>

#include "cli/process_helpers.h"

namespace zelmot::cli::testing {
namespace {

TEST(CliAccess, ProtectionSettingIsSentShiftedAndReadsBack) {
  Workspace work;
  Simulator sim(work.dir());
  const RunResult set = work.cli(sim, {"set", "LoCK", "Редактируемо,Разблокировано"});
  ASSERT_EQ(set.exitCode, 0) << set.out << set.err;
  EXPECT_EQ(sim.writesOf("LoCK"), std::vector<std::string>{"[AF]"});
  const RunResult got = work.cli(sim, {"get", "LoCK"});
  EXPECT_EQ(got.out, "Редактируемо,Разблокировано\n");
}

}  // namespace
}  // namespace zelmot::cli::testing
