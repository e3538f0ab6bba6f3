// The line going wrong: silence, lost and damaged replies, and the user cancelling.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <sstream>
#include <thread>

#include "cli/process_helpers.h"

namespace zelmot::cli::testing {
namespace {

using ::testing::HasSubstr;

class CliFaults : public ::testing::Test {
protected:
  Workspace work;
};

// Every parameter row of a listing (after its header row): "name" -> "value\terror".
std::map<std::string, std::pair<std::string, std::string>> rowsOf(const std::string& listing) {
  std::map<std::string, std::pair<std::string, std::string>> rows;
  std::istringstream lines(listing);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    std::vector<std::string> columns;
    std::istringstream cells(line);
    std::string cell;
    while (std::getline(cells, cell, '\t')) columns.push_back(cell);
    if (columns.size() >= 3) rows[columns[1]] = {columns[2], columns.size() >= 6 ? columns[5] : ""};
  }
  return rows;
}

TEST_F(CliFaults, FiveTimeoutsInARowSuspendTheRead) {
  Simulator sim(work.dir(), {"--silent-after", "40"});
  const RunResult read = work.cli(sim, {"read", "-o", work.path("a.zel")});
  EXPECT_EQ(read.exitCode, 3);
  EXPECT_THAT(read.err, HasSubstr("Так как прошло 5 неудачных попыток чтения параметров подряд"));
  EXPECT_THAT(read.err, HasSubstr("Операции обмена приостановлены."));
  EXPECT_THAT(read.out, HasSubstr("(обмен приостановлен)"));
  // What was read before the silence is saved all the same.
  EXPECT_THAT(work.cliOffline({"show", work.path("a.zel")}).out, HasSubstr("\tdev\tZELMOT\t"));
}

TEST_F(CliFaults, NoDeviceAtAllIsNoLink) {
  Simulator sim(work.dir(), {"--silent-after", "0"});
  EXPECT_EQ(work.cli(sim, {"check"}).exitCode, 3);
}

TEST_F(CliFaults, InterruptStopsAtTheNextCancelPointAndStillSaves) {
  Simulator sim(work.dir(), {"--pace", "--baud", "9600"});
  work.setBaud(9600);
  auto process = work.startCli(sim, {"--verbose", "read", "-o", work.path("a.zel")}, "read");
  // Wait for a few progress lines, then interrupt.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline &&
         readText(work.dir() / "read.out").find("Чтение: ver") == std::string::npos) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  process->signal(SIGINT);
  EXPECT_EQ(process->wait(), 1);
  const std::string out = readText(work.dir() / "read.out");
  EXPECT_THAT(out, HasSubstr("(прервано)"));
  EXPECT_THAT(out, HasSubstr("Задание выполнено."));
  const std::string shown = work.cliOffline({"show", work.path("a.zel")}).out;
  EXPECT_THAT(shown, HasSubstr("\tdev\tZELMOT\t"));
  EXPECT_THAT(shown, HasSubstr("Нет данных"));  // the rest was never asked for
}

TEST_F(CliFaults, InterruptedReadLeavesAnExistingFileAsItWas) {
  Simulator sim(work.dir(), {"--pace", "--baud", "9600"});
  work.setBaud(9600);
  writeText(work.path("a.zel"), "kept");
  auto process = work.startCli(sim, {"--verbose", "read", "-o", work.path("a.zel")}, "read");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline &&
         readText(work.dir() / "read.out").find("Чтение: ver") == std::string::npos) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  process->signal(SIGINT);
  EXPECT_EQ(process->wait(), 1);
  EXPECT_EQ(readText(work.path("a.zel")), "kept");
  EXPECT_THAT(readText(work.dir() / "read.err"), HasSubstr("не перезаписан"));
}

TEST_F(CliFaults, DroppedRepliesAreAbsorbedByTheRetries) {
  Workspace other;
  Simulator clean(work.dir(), {});
  Simulator lossy(other.dir(), {"--drop-replies", "10", "--seed", "7"});
  ASSERT_EQ(work.cli(clean, {"--quiet", "read", "-o", work.path("clean.zel")}).exitCode, 0);
  const RunResult read = work.cli(lossy, {"--quiet", "read", "-o", work.path("lossy.zel")});
  EXPECT_EQ(read.exitCode, 0) << read.out;
  auto expected = rowsOf(work.cliOffline({"show", work.path("clean.zel")}).out);
  auto got = rowsOf(work.cliOffline({"show", work.path("lossy.zel")}).out);
  for (const char* moving : {"n.Err", "rtC"}) {
    expected.erase(moving);
    got.erase(moving);
  }
  EXPECT_EQ(got, expected);
}

TEST_F(CliFaults, CorruptedChecksumsFailOnlyTheAffectedParameters) {
  Workspace other;
  Simulator clean(work.dir(), {});
  Simulator corrupting(other.dir(), {"--corrupt-checksums", "5", "--seed", "3"});
  ASSERT_EQ(work.cli(clean, {"--quiet", "read", "-o", work.path("clean.zel")}).exitCode, 0);
  const RunResult read = work.cli(corrupting, {"--quiet", "--elog", work.path("e.log"), "read",
                                               "-o", work.path("bad.zel")});
  EXPECT_EQ(read.exitCode, 1);
  const auto expected = rowsOf(work.cliOffline({"show", work.path("clean.zel")}).out);
  const auto got = rowsOf(work.cliOffline({"show", work.path("bad.zel")}).out);
  int failed = 0;
  for (const auto& [name, row] : got) {
    if (!row.second.empty()) ++failed;
    if (name == "n.Err" || name == "rtC") continue;
    if (row.second.empty()) {
      EXPECT_EQ(row.first, expected.at(name).first) << name;
    } else {
      EXPECT_EQ(row.second, "Ошибка в контрольной сумме ответа") << name;
      EXPECT_EQ(row.first, "Нет данных") << name;
    }
  }
  EXPECT_GT(failed, 0);
  // One error-log line per failed parameter.
  const std::string log = readText(work.dir() / "e.log");
  EXPECT_EQ(static_cast<int>(std::count(log.begin(), log.end(), '\n')), failed);
}

}  // namespace
}  // namespace zelmot::cli::testing
