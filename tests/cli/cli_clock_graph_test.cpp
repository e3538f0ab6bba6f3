// The device clock and the setpoint-correction graphs against the simulator, end to end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "cli/process_helpers.h"

namespace zelmot::cli::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class CliClockGraph : public ::testing::Test {
protected:
  Workspace work;
};

// "DD.MM.YYYY HH:MM:SS" at the start of `text` as local time; -1 when it is not there.
std::time_t clockTime(const std::string& text) {
  std::tm local{};
  if (std::sscanf(text.c_str(), "%d.%d.%d %d:%d:%d", &local.tm_mday, &local.tm_mon, &local.tm_year,
                  &local.tm_hour, &local.tm_min, &local.tm_sec) != 6) {
    return -1;
  }
  local.tm_mon -= 1;
  local.tm_year -= 1900;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

TEST_F(CliClockGraph, SynchronisedClockReadsBackWithinTwoSecondsOfTheComputer) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"clock", "set", "01.01.01 00:00:00"}).exitCode, 0);
  const RunResult synced = work.cli(sim, {"clock", "sync"});
  ASSERT_EQ(synced.exitCode, 0) << synced.err;
  EXPECT_EQ(sim.writesOf("rtC").size(), 2u);

  const RunResult shown = work.cli(sim, {"clock", "show"});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  const std::time_t device = clockTime(shown.out);
  ASSERT_NE(device, -1) << shown.out;
  EXPECT_LE(std::llabs(static_cast<long long>(device - std::time(nullptr))), 2) << shown.out;
}

TEST_F(CliClockGraph, ClockSetSendsTheFieldsTheDeviceReportsHighestFirst) {
  Simulator sim(work.dir());
  const RunResult set = work.cli(sim, {"clock", "set", "07.05.09 14:30:05"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  // Year, month and day from 0, hours, minutes, seconds; six fields from the seconds up.
  EXPECT_THAT(sim.writesOf("rtC"), ElementsAre("[09 04 06 0E 1E 05 61]"));
  EXPECT_THAT(set.out, HasSubstr("07.05.2009 14:30:0"));

  // A malformed or impossible time is refused before anything is sent.
  EXPECT_EQ(work.cli(sim, {"clock", "set", "7.5.09 14:30"}).exitCode, 2);
  const RunResult month13 = work.cli(sim, {"clock", "set", "07.13.09 14:30:05"});
  EXPECT_EQ(month13.exitCode, 2);
  EXPECT_THAT(month13.err, HasSubstr("Месяц"));
  EXPECT_EQ(sim.writesOf("rtC").size(), 1u);
}

TEST_F(CliClockGraph, GraphIsWrittenInTheOrderTheDeviceDemands) {
  Simulator sim(work.dir());
  const RunResult set = work.cli(sim, {"graph", "2", "set", "--input", "1", "1:5", "2:6", "3.5:7"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  EXPECT_THAT(sim.writtenValueNames(), ElementsAre("Node", "in.Gr", "absc", "ordn", "absc",
                                                   "ordn", "absc", "ordn", "Node"));
  EXPECT_THAT(sim.writesOf("Node"), ElementsAre("[00 00 0A]", "[03 00 0A]"));
  EXPECT_THAT(sim.writesOf("absc"), ElementsAre("[00 01 00 0A]", "[00 02 00 0B]", "[10 23 00 0C]"));

  // The device refuses X while the graph has nodes; the dialog's order gets past it.
  const RunResult direct = work.cli(sim, {"set", "absc:10", "0.5"});
  EXPECT_EQ(direct.exitCode, 1);
  EXPECT_THAT(direct.out + direct.err, HasSubstr("Попытка записи X при ненулевом числе узлов графика"));
  const RunResult again = work.cli(sim, {"graph", "2", "set", "0.5:1", "2:2"});
  ASSERT_EQ(again.exitCode, 0) << again.err;

  const RunResult shown = work.cli(sim, {"graph", "2", "show"});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_THAT(shown.out, HasSubstr("Вход графика: Вычислитель №1\n"));
  EXPECT_THAT(shown.out, HasSubstr("Число узловых точек графика: 2\n"));
  EXPECT_THAT(shown.out, HasSubstr("1.\t0.500\t1.000\n2.\t2.000\t2.000\n"));
  // Nodes beyond the count do not exist for a reader.
  EXPECT_THAT(shown.out, HasSubstr("3.\tН/Д\tН/Д\t(не используется)\n"));
}

TEST_F(CliClockGraph, ADuplicateXIsRefusedBeforeAnythingIsSent) {
  Simulator sim(work.dir());
  const RunResult duplicate = work.cli(sim, {"graph", "1", "set", "1:1", "1.0:2"});
  EXPECT_EQ(duplicate.exitCode, 2);
  EXPECT_THAT(duplicate.err, HasSubstr("Такое значение Х (\"absc\") уже существует."));
  EXPECT_THAT(sim.writtenNames(), IsEmpty());
  EXPECT_EQ(work.cli(sim, {"graph", "1", "set", "1"}).exitCode, 2);
  EXPECT_EQ(work.cli(sim, {"graph", "3", "show"}).exitCode, 2);
}

TEST_F(CliClockGraph, NodesTheDeviceRefusesAreReportedAsFailures) {
  Simulator sim(work.dir());
  const RunResult descending = work.cli(sim, {"graph", "1", "set", "5:1", "2:2"});
  EXPECT_EQ(descending.exitCode, 1);
  EXPECT_THAT(descending.err, HasSubstr("Нарушена упорядоченность узлов X по возрастанию"));
}

TEST_F(CliClockGraph, NoDeviceOnTheLineIsNoLink) {
  Simulator sim(work.dir(), {"--silent-after", "0"});
  EXPECT_EQ(work.cli(sim, {"clock", "show"}).exitCode, 3);
  EXPECT_EQ(work.cli(sim, {"graph", "1", "show"}).exitCode, 3);
}

}  // namespace
}  // namespace zelmot::cli::testing
