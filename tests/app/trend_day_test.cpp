// A past day of the measurement archive as trend lines: from a daily log and from a
// monthly file, with gaps for failed readings and the scratch copy removed.
#include "app/trend_day.h"

#include <gtest/gtest.h>

#include "../archive/export_fixtures.h"
#include "archive/archive_packing.h"
#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

using archive::LogRecord;
using archive::test::floatReply;
using archive::test::sampleColumns;
using archive::test::stampAt;

class TrendDayTest : public ::testing::Test {
protected:
  void writeSampleDay() {
    archive::test::writeDay(folders.protocol / "06-12-2026.log",
                            {LogRecord{stampAt(10, 0, 0), "rEAd", 0, false, floatReply(20.5f)},
                             LogRecord{stampAt(10, 0, 0), "rEAd", 1, false, floatReply(7.0f)},
                             LogRecord{stampAt(10, 0, 1), "rEAd", 0, true, {}},
                             LogRecord{stampAt(10, 0, 1), "nothing", 0, false, floatReply(1)},
                             LogRecord{stampAt(10, 0, 2), "rEAd", 0, false, floatReply(21.5f)}});
  }
  std::vector<int64_t> timesOf(const TrendDay& day, const char* key) {
    std::vector<int64_t> times;
    for (const TrendPoint& point : day.series.find(key)->points) times.push_back(point.timeMs);
    return times;
  }

  test_support::TempFolder home;
  archive::ArchiveFolders folders = archive::archiveFoldersIn(home.path());
  std::unordered_map<std::string, std::string> labels{{"rEAd:0", "rEAd:0 — Вход 1"}};
};

TEST_F(TrendDayTest, DailyLogBecomesLinesWithGapsForFailedReadings) {
  writeSampleDay();
  const TrendDay day = loadTrendDay(folders, "06-12-2026.log", sampleColumns(), labels);
  EXPECT_EQ(day.status, TrendDayStatus::Loaded);
  EXPECT_EQ(day.records, 4u);  // the record without a column is left out
  ASSERT_EQ(day.series.lines().size(), 2u);
  const TrendLine& first = day.series.lines()[0];
  EXPECT_EQ(first.label, "rEAd:0 — Вход 1");
  EXPECT_EQ(day.series.lines()[1].label, "rEAd:1");
  EXPECT_EQ(timesOf(day, "rEAd:0"),
            (std::vector<int64_t>{stampAt(10, 0, 0) * 1000, stampAt(10, 0, 1) * 1000,
                                  stampAt(10, 0, 2) * 1000}));
  const std::vector<TrendSegment> parts = TrendSeries::segments(first);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_DOUBLE_EQ(parts[0][0].second, 20.5);
  EXPECT_DOUBLE_EQ(parts[1][0].second, 21.5);
}

TEST_F(TrendDayTest, PackedDayIsReadAndItsScratchCopyRemoved) {
  writeSampleDay();
  ASSERT_EQ(archive::packDailyLog(folders.protocol, "06-12-2026.log").status,
            archive::MonthlyStatus::Ok);
  ASSERT_FALSE(std::filesystem::exists(folders.protocol / "06-12-2026.log"));
  const TrendDay day = loadTrendDay(folders, "06-12-2026.log", sampleColumns(), labels);
  EXPECT_EQ(day.status, TrendDayStatus::Loaded);
  EXPECT_EQ(day.series.pointCount(), 4u);
  EXPECT_TRUE(std::filesystem::is_empty(folders.scratch));
}

TEST_F(TrendDayTest, MissingAndCutOffDays) {
  EXPECT_EQ(loadTrendDay(folders, "07-12-2026.log", sampleColumns(), labels).status,
            TrendDayStatus::Missing);
  writeSampleDay();
  archive::test::writeBytes(folders.protocol / "06-12-2026.log", {1, 2, 3}, true);
  const TrendDay day = loadTrendDay(folders, "06-12-2026.log", sampleColumns(), labels);
  EXPECT_EQ(day.status, TrendDayStatus::Damaged);
  EXPECT_EQ(day.records, 4u);  // what came before the damage shows
}

TEST(TrendSeriesThinning, AWholeDayKeepsItsSpanAtACoarserStep) {
  TrendSeries day(kTrendDayWindowMs, TrendOverflow::Thin);
  const int64_t readings = 86'400;  // one a second
  for (int64_t t = 0; t < readings; ++t) day.add("a:0", "A", t * 1000, "1", "");
  EXPECT_LE(day.pointCount(), kTrendMaxPointsPerLine);
  EXPECT_GT(day.pointCount(), kTrendMaxPointsPerLine / 2);
  EXPECT_EQ(day.timeSpan()->first, 0);
  EXPECT_GT(day.timeSpan()->second, (readings - 100) * 1000);
}

}  // namespace
}  // namespace zelmot::app
