// Read, write and compare against the simulator, end to end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "cli/process_helpers.h"

namespace zelmot::cli::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kRegulators = "Регуляторы";

class CliExchange : public ::testing::Test {
protected:
  Workspace work;
};

TEST_F(CliExchange, ReadSavesTheSimulatorsValues) {
  Simulator sim(work.dir());
  ASSERT_FALSE(sim.pty().empty());
  ASSERT_EQ(work.cli(sim, {"set", "SP:0", "12.5"}).exitCode, 0);
  const RunResult read = work.cli(sim, {"--quiet", "read", "-o", work.path("a.zel")});
  ASSERT_EQ(read.exitCode, 0) << read.out << read.err;

  const RunResult shown = work.cliOffline({"show", work.path("a.zel")});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_THAT(shown.out, HasSubstr("\tdev\tZELMOT\t"));
  EXPECT_THAT(shown.out, HasSubstr("\tSP:0\t12.500\t"));
  // Only graph nodes that do not exist (an empty graph) are left without data.
  std::istringstream rows(shown.out);
  for (std::string row; std::getline(rows, row);) {
    if (row.find("Нет данных") == std::string::npos) continue;
    EXPECT_TRUE(row.find("\tabsc:") != std::string::npos || row.find("\tordn:") != std::string::npos)
        << row;
  }

  // The reopened file holds what the device holds: only the running clock and the error
  // counter moved on.
  // The clock differs only when a second boundary fell between read and compare.
  const RunResult compared = work.cli(sim, {"--quiet", "compare", work.path("a.zel")});
  const bool clockMoved = compared.out.find("'rtC (") != std::string::npos;
  EXPECT_THAT(compared.out, HasSubstr(clockMoved ? "Обнаружены отличия (2)"
                                                 : "Обнаружены отличия (1)"));
  EXPECT_THAT(compared.out, HasSubstr("'n.Err ("));
}

TEST_F(CliExchange, WriteChangedSendsExactlyTheChangedValues) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "-o", work.path("a.zel")}).exitCode, 0);
  ASSERT_EQ(work.cliOffline({"set-value", work.path("a.zel"), "SP:3", "21.25"}).exitCode, 0);
  ASSERT_EQ(work.cliOffline({"set-value", work.path("a.zel"), "P.Hi:1", "80"}).exitCode, 0);

  const RunResult written = work.cli(sim, {"write", "--changed", work.path("a.zel"), "-o",
                                           work.path("w.zel")});
  ASSERT_EQ(written.exitCode, 0) << written.out << written.err;
  // Tree order; at the full access level each value's attributes are written before it.
  EXPECT_THAT(sim.writtenNames(), ElementsAre("M.s.t.r.", "P.Hi", "M.s.t.r.", "SP"));
  EXPECT_EQ(work.cli(sim, {"get", "SP:3"}).out.find("21.250") != std::string::npos, true);

  // The saved state has the change flags cleared.
  const RunResult json = work.cliOffline({"show", "--json", work.path("w.zel"), "--branch",
                                          kRegulators});
  EXPECT_THAT(json.out, Not(HasSubstr("\"changed\": true")));
  EXPECT_EQ(jsonValueOf(json.out, "SP:3"), "21.250");
}

TEST_F(CliExchange, CompareCountsTwelveAndDescribesAndMarksTen) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "-o", work.path("a.zel")}).exitCode, 0);
  for (int i = 0; i < 8; ++i) {
    ASSERT_EQ(work.cli(sim, {"set", "P.Hi:" + std::to_string(i), "90"}).exitCode, 0);
  }
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(work.cli(sim, {"set", "P.Lo:" + std::to_string(i), "5"}).exitCode, 0);
  }
  const RunResult compared = work.cli(sim, {"--quiet", "compare", work.path("a.zel"), "--branch",
                                            kRegulators, "-o", work.path("m.zel")});
  EXPECT_EQ(compared.exitCode, 1);
  EXPECT_THAT(compared.out,
              HasSubstr("Обнаружены отличия (12) (показанны только первые 10):\n\n1) Параметер '"));
  EXPECT_THAT(compared.out, HasSubstr("\n10) Параметер '"));
  EXPECT_THAT(compared.out, Not(HasSubstr("\n11) ")));

  const std::string marked = work.cliOffline({"show", work.path("m.zel")}).out;
  size_t marks = 0;
  for (size_t at = marked.find("Знач-е в приборе: '"); at != std::string::npos;
       at = marked.find("Знач-е в приборе: '", at + 1)) {
    ++marks;
  }
  EXPECT_EQ(marks, 10u);
}

TEST_F(CliExchange, NothingDiffersAfterAWrite) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "-o", work.path("a.zel")}).exitCode, 0);
  const RunResult compared =
      work.cli(sim, {"compare", work.path("a.zel"), "--branch", kRegulators});
  EXPECT_EQ(compared.exitCode, 0);
  EXPECT_THAT(compared.out, HasSubstr("Отличий не обнаружено"));
}

TEST_F(CliExchange, ChannelCountIsWalkedOneStepAtATime) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"set", "n.Ch", "1"}).exitCode, 0);
  ASSERT_EQ(work.cli(sim, {"set", "n.Ch", "2"}).exitCode, 0);
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "-o", work.path("a.zel")}).exitCode, 0);
  ASSERT_EQ(work.cliOffline({"set-value", work.path("a.zel"), "n.Ch", "5"}).exitCode, 0);
  const size_t before = sim.writesOf("n.Ch").size();

  const RunResult written = work.cli(sim, {"--verbose", "write", "--changed", work.path("a.zel")});
  EXPECT_EQ(written.exitCode, 0) << written.out;
  const auto writes = sim.writesOf("n.Ch");
  EXPECT_THAT(std::vector<std::string>(writes.begin() + before, writes.end()),
              ElementsAre("[03]", "[04]", "[05]"));
  EXPECT_THAT(written.out, HasSubstr("Прочитаем предварительно этот параметр"));
  // The structure the device recomputed is read back at the end.
  EXPECT_THAT(written.out, HasSubstr("Принудительное перечитывание некоторых параметров"));
  EXPECT_THAT(written.out, HasSubstr("Чтение: S.SAU"));
}

TEST_F(CliExchange, PairWriteReReadsBothHalvesAtTheEnd) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "-o", work.path("a.zel")}).exitCode, 0);
  ASSERT_EQ(work.cliOffline({"set-value", work.path("a.zel"), "A.i.j:7", "Подключен"}).exitCode, 0);
  const RunResult written = work.cli(sim, {"--verbose", "write", "--changed", work.path("a.zel")});
  EXPECT_EQ(written.exitCode, 0) << written.out;
  const std::string& log = written.out;
  const size_t reRead = log.find("Принудительное перечитывание некоторых параметров");
  ASSERT_NE(reRead, std::string::npos);
  const std::string tail = log.substr(reRead);
  EXPECT_THAT(tail, HasSubstr("Чтение: A.i.j:6 = "));
  EXPECT_THAT(tail, HasSubstr("Чтение: A.i.j:7 = "));
  size_t reads = 0;
  for (size_t at = tail.find("Чтение: "); at != std::string::npos; at = tail.find("Чтение: ", at + 1)) {
    ++reads;
  }
  EXPECT_EQ(reads, 2u);
}

TEST_F(CliExchange, NoDataIsNeverSentAndNotRetriedAsAnError) {
  Simulator sim(work.dir());
  // Only the network branch is read: everything else stays without data.
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "--branch", "Сетевые параметры прибора", "-o",
                           work.path("part.zel")}).exitCode, 0);
  const RunResult written = work.cli(sim, {"--quiet", "write", work.path("part.zel"), "--branch",
                                           kRegulators, "-o", work.path("after.zel")});
  EXPECT_EQ(written.exitCode, 1);
  EXPECT_TRUE(sim.writtenNames().empty());
  const std::string shown = work.cliOffline({"show", work.path("after.zel"), "--branch",
                                             kRegulators}).out;
  EXPECT_THAT(shown, HasSubstr("Значение не записанно, так как параметер не инициализирован"));

  const RunResult retried = work.cli(sim, {"write", "--errors", work.path("after.zel")});
  EXPECT_EQ(retried.exitCode, 0);
  EXPECT_THAT(retried.out, HasSubstr("Ошибочных параметров не обнаружено!"));
  EXPECT_TRUE(sim.writtenNames().empty());
}

}  // namespace
}  // namespace zelmot::cli::testing
