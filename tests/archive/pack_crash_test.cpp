// Packing killed with SIGKILL at random moments: afterwards the day is still whole in the
// log or in the monthly file, and the monthly file under its real name is always whole.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "archive/archive_packing.h"
#include "archive/monthly_file.h"
#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 50;
constexpr const char* kLog = "06-12-2026.log";
constexpr const char* kEarlierDay = "05-12-2026.log";

std::string dayText(size_t size) {
  std::mt19937 random(7);
  std::string text;
  while (text.size() < size) text += "r.CAL\0\0\0" + std::to_string(random() % 500);
  text.resize(size);
  return text;
}

// Packs in a child; kills it after `delay` unless it ended before. True when it finished.
bool packInChild(const fs::path& dir, Clock::duration delay) {
  const pid_t child = ::fork();
  if (child == 0) {
    const PackResult result = packDailyLog(dir, kLog);
    ::_exit(result.status == MonthlyStatus::Ok ? 0 : 1);
  }
  const Clock::time_point deadline = Clock::now() + delay;
  int status = 0;
  pid_t ended = 0;
  while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  if (ended == 0) {
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string stream(const fs::path& monthly, const std::string& name) {
  std::vector<uint8_t> bytes;
  if (readStream(monthly, name, bytes) != MonthlyStatus::Ok) return "<unreadable>";
  return std::string(bytes.begin(), bytes.end());
}

TEST(PackCrash, KilledPackingNeverLosesTheDayNorLeavesAHalfFile) {
  test_support::TempFolder folder;
  const fs::path dir = folder / "protocol";
  const fs::path monthly = dir / "12-2026.var";
  const fs::path original = folder / "12-2026.var.before";
  const std::string day = dayText(700'000);
  test_support::writeWholeFile(dir / kEarlierDay, "the fifth");
  ASSERT_EQ(packDailyLog(dir, kEarlierDay).status, MonthlyStatus::Ok);
  fs::copy_file(monthly, original);

  auto restore = [&] {
    fs::copy_file(original, monthly, fs::copy_options::overwrite_existing);
    test_support::writeWholeFile(dir / kLog, day);
  };
  restore();
  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(packInChild(dir, std::chrono::seconds(30)));
  const auto whole = Clock::now() - start;
  std::printf("one packing: %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(whole).count()));

  std::mt19937 random(2026);
  std::uniform_int_distribution<int64_t> pick(0, std::chrono::duration_cast<std::chrono::microseconds>(whole).count());
  int finished = 0;
  for (int run = 0; run < kRuns; ++run) {
    restore();
    if (packInChild(dir, std::chrono::microseconds(pick(random)))) ++finished;
    SCOPED_TRACE(run);
    ASSERT_TRUE(isCompoundFile(monthly));
    EXPECT_EQ(stream(monthly, kEarlierDay), "the fifth");
    if (fs::exists(dir / kLog)) {
      EXPECT_EQ(test_support::readWholeFile(dir / kLog), day);
    } else {
      EXPECT_EQ(stream(monthly, kLog), day);
    }
  }
  // Most runs are cut short; a few may end on their own.
  EXPECT_LT(finished, kRuns);
  restore();
  EXPECT_EQ(packDailyLog(dir, kLog).status, MonthlyStatus::Ok);  // a left temporary file is no obstacle
}

}  // namespace
}  // namespace zelmot::archive
