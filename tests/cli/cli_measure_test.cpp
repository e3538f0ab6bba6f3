// poll: periodic readings of the measurement tree, end to end against the simulator.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <regex>
#include <sstream>
#include <thread>

#include "archive/archive_names.h"
#include "archive/local_clock.h"
#include "archive/log_record.h"
#include "cli/measure_lines.h"
#include "cli/process_helpers.h"
#include "model/parameter.h"

namespace zelmot::cli::testing {
namespace {

using ::testing::HasSubstr;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

class CliMeasure : public ::testing::Test {
protected:
  Workspace work;
};

TEST_F(CliMeasure, CountRoundsGiveOneTimedLinePerReading) {
  Simulator sim(work.dir());
  const RunResult run = work.cli(sim, {"poll", "--count", "2", "rEAd:1", "r.kEY"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 4u) << run.out;
  const std::regex layout(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\t(rEAd:1|r\.kEY)\t[^\t]+)");
  int reads = 0;
  for (const std::string& line : lines) {
    EXPECT_TRUE(std::regex_match(line, layout)) << line;
    reads += line.find("\trEAd:1\t") != std::string::npos;
  }
  EXPECT_EQ(reads, 2);
}

TEST_F(CliMeasure, CsvHasAHeaderAndFourFields) {
  Simulator sim(work.dir());
  const RunResult run = work.cli(sim, {"poll", "--csv", "--count", "1", "Set.P"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 9u) << run.out;  // the header and the eight set points
  EXPECT_EQ(lines[0], kReadingCsvHeader);
  EXPECT_THAT(lines[1], ::testing::MatchesRegex(R"(.*,Set\.P:[0-7],[0-9.]+,)"));
}

TEST_F(CliMeasure, FailedReadingsCarryTheirErrorAndExitOne) {
  Simulator sim(work.dir(), {"--error-code", "5"});
  const RunResult run = work.cli(sim, {"poll", "--count", "1", "r.kEY"});
  EXPECT_EQ(run.exitCode, 1);
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 1u) << run.out << run.err;
  EXPECT_EQ(std::count(lines[0].begin(), lines[0].end(), '\t'), 3) << lines[0];
}

TEST_F(CliMeasure, ALineThatHangsUpEndsPollingAsNoLinkWithTheReason) {
  Simulator sim(work.dir(), {"--hangup-after", "2"});
  const RunResult run = work.cli(sim, {"poll", "--count", "6", "r.kEY"});
  EXPECT_EQ(run.exitCode, 3) << run.out << run.err;
  EXPECT_THAT(run.err, ::testing::HasSubstr("Связь с прибором потеряна (порт "));
  EXPECT_LT(linesOf(run.out).size(), 6u) << "polling stops at the loss";
}

TEST_F(CliMeasure, RefusedPeriodAndUnknownNamesAreUsageErrors) {
  Simulator sim(work.dir());
  const RunResult slow = work.cli(sim, {"poll", "--period", "999", "r.kEY"});
  EXPECT_EQ(slow.exitCode, 2);
  EXPECT_THAT(slow.err, HasSubstr("Период опроса не может быть меньше 1000 миллисекунд"));
  const RunResult unknown = work.cli(sim, {"poll", "SP:0"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_THAT(unknown.err, HasSubstr("не входит в дерево измерений"));
  const std::vector<std::string> reads = sim.readNames();
  EXPECT_EQ(std::count(reads.begin(), reads.end(), "r.kEY"), 0);
}

TEST_F(CliMeasure, SignalEndsPollingCleanly) {
  Simulator sim(work.dir());
  for (const int signal : {SIGINT, SIGTERM}) {
    const std::string tag = "poll" + std::to_string(signal);
    auto running = work.startCli(sim, {"poll", "r.kEY"}, tag);
    ASSERT_TRUE(running->started());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (readText(work.dir() / (tag + ".out")).empty() &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    running->signal(signal);
    EXPECT_EQ(running->wait(), 0) << signal;
    EXPECT_THAT(readText(work.dir() / (tag + ".out")), HasSubstr("\tr.kEY\t"));
  }
}

TEST_F(CliMeasure, ArchiveKeepsEveryReadingInTodaysLog) {
  Simulator sim(work.dir());
  const RunResult run = work.cli(sim, {"poll", "--archive", "--count", "2", "rEAd:1", "r.kEY"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string name = archive::dailyLogName(archive::SystemLocalClock().now());
  const std::string bytes = readText(work.dir() / "protocol" / name);
  archive::LogRecordReader reader(
      std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  archive::LogRecord record;
  std::vector<std::string> names;
  while (reader.next(record) == archive::LogReadStatus::Record) {
    names.push_back(record.name + ":" + std::to_string(record.index));
    EXPECT_FALSE(record.error);
    EXPECT_FALSE(record.reply.empty());
  }
  EXPECT_EQ(reader.offset(), bytes.size());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"r.kEY:0", "r.kEY:0", "rEAd:1", "rEAd:1"}));
}

TEST(MeasureLines, NamesSelectTheMeasurementElements) {
  std::vector<std::unique_ptr<model::Parameter>> owned;
  std::vector<model::Parameter*> polled;
  auto add = [&](const std::string& name, int index) {
    auto parameter = std::make_unique<model::Parameter>();
    parameter->setName(name);
    parameter->setHasLinearIndex(index >= 0);
    parameter->setLinearIndex(std::max(index, 0));
    parameter->PreparePolling();
    polled.push_back(parameter.get());
    owned.push_back(std::move(parameter));
  };
  add("rEAd", 0);
  add("rEAd", 1);
  add("r.kEY", -1);
  std::vector<model::Parameter*> chosen;
  std::string error;
  ASSERT_TRUE(selectPolled(polled, {"READ:1", "r.key"}, chosen, error));
  EXPECT_EQ(chosen, (std::vector<model::Parameter*>{polled[1], polled[2]}));
  ASSERT_TRUE(selectPolled(polled, {"rEAd"}, chosen, error));
  EXPECT_EQ(chosen.size(), 2u);
  EXPECT_FALSE(selectPolled(polled, {"rEAd:2"}, chosen, error));
  EXPECT_EQ(error, "Параметр rEAd:2 не входит в дерево измерений");
  EXPECT_FALSE(selectPolled(polled, {"rEAd:x"}, chosen, error));
  EXPECT_EQ(polledLabel(*polled[1], polled), "rEAd:1");
  EXPECT_EQ(polledLabel(*polled[2], polled), "r.kEY");
  EXPECT_EQ(csvLine({"t", "a,b", "say \"x\"", ""}), "t,\"a,b\",\"say \"\"x\"\"\",");
}

}  // namespace
}  // namespace zelmot::cli::testing
