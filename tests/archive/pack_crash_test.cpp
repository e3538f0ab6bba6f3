// Packing killed with SIGKILL at random moments: afterwards the day is still whole in the
// log or in the monthly file, and the monthly file under its real name is always whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "archive/archive_packing.h"
#include "archive/monthly_file.h"
#include "support/crash_loop.h"
#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 50;
constexpr const char* kLog = "06-12-2026.log";
constexpr const char* kEarlierDay = "05-12-2026.log";

std::string dayText(size_t size) {
  std::mt19937 random(7);
  std::string text;
  while (text.size() < size) text += "r.CAL\0\0\0" + std::to_string(random() % 500);
  text.resize(size);
  return text;
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
  const std::string day = dayText(300'000);
  test_support::writeWholeFile(dir / kEarlierDay, "the fifth");
  ASSERT_EQ(packDailyLog(dir, kEarlierDay).status, MonthlyStatus::Ok);
  fs::copy_file(monthly, original);
  auto restore = [&] {
    fs::copy_file(original, monthly, fs::copy_options::overwrite_existing);
    test_support::writeWholeFile(dir / kLog, day);
  };

  // Kills spread over a little more than one whole packing.
  restore();
  const Clock::time_point start = Clock::now();
  ASSERT_EQ(packDailyLog(dir, kLog).status, MonthlyStatus::Ok);
  const auto once = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  restore();

  int packed = 0;
  const auto result = test_support::killAtRandomPoints(
      kRounds, std::max(std::chrono::microseconds(20'000), once * 5 / 4),
      [&] { packDailyLog(dir, kLog); },
      [&](int round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(isCompoundFile(monthly));
        EXPECT_EQ(stream(monthly, kEarlierDay), "the fifth");
        if (fs::exists(dir / kLog)) {
          EXPECT_EQ(test_support::readWholeFile(dir / kLog), day);
        } else {
          ++packed;
          EXPECT_EQ(stream(monthly, kLog), day);
        }
        restore();
      });
  EXPECT_EQ(result.rounds, kRounds);
  std::printf("%d rounds: %d packed, %d cut short\n", result.rounds, packed, result.rounds - packed);
  EXPECT_LT(packed, kRounds);
  EXPECT_EQ(packDailyLog(dir, kLog).status, MonthlyStatus::Ok);  // a left temporary file is no obstacle
}

}  // namespace
}  // namespace zelmot::archive
