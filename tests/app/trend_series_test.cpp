// The live trend's points: numbers, gaps, the time window and the per-line cap.
#include "app/trend_series.h"

#include <gtest/gtest.h>

namespace zelmot::app {
namespace {

TEST(TrendNumber, ReadsDecimalsAndRefusesEverythingElse) {
  EXPECT_EQ(trendNumber("12.5"), 12.5);
  EXPECT_EQ(trendNumber(" -3,25 "), -3.25);
  EXPECT_EQ(trendNumber("+7"), 7.0);
  EXPECT_EQ(trendNumber("1e3"), 1000.0);
  for (const char* text : {"", "  ", "Нет данных", "12.5 C", "inf", "nan", "--", "1.2.3", "+-1"}) {
    EXPECT_FALSE(trendNumber(text).has_value()) << text;
  }
}

TEST(TrendLabel, CarriesKeyAndCaption) {
  EXPECT_EQ(trendKey("rEAd", 2), "rEAd:2");
  EXPECT_EQ(trendLabel("r.OUt:0", "Регулятор 1, %"), "r.OUt:0 — Регулятор 1, %");
  EXPECT_EQ(trendLabel("rtC:0", ""), "rtC:0");
}

TEST(TrendSeries, ErrorsAndTextsLeaveGapsNotZeros) {
  TrendSeries series;
  series.add("a:0", "A", 1000, "1.5", "");
  series.add("a:0", "A", 2000, "2.5", "");
  series.add("a:0", "A", 3000, "0", "Нет ответа");  // a number with an error is no point
  series.add("a:0", "A", 4000, "Нет данных", "");
  series.add("a:0", "A", 5000, "4", "");
  const TrendLine* line = series.find("a:0");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->points.size(), 5u);
  const std::vector<TrendSegment> parts = TrendSeries::segments(*line);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0], (TrendSegment{{1000, 1.5}, {2000, 2.5}}));
  EXPECT_EQ(parts[1], (TrendSegment{{5000, 4.0}}));
  EXPECT_EQ(series.valueRange(), (std::pair{1.5, 4.0}));
}

TEST(TrendSeries, OneLinePerKeyInOrderOfFirstReading) {
  TrendSeries series;
  series.add("b:1", "B", 1000, "1", "");
  series.add("a:0", "A", 1000, "2", "");
  series.add("b:1", "B", 2000, "3", "");
  ASSERT_EQ(series.lines().size(), 2u);
  EXPECT_EQ(series.lines()[0].key, "b:1");
  EXPECT_EQ(series.lines()[1].label, "A");
  EXPECT_EQ(series.pointCount(), 3u);
}

TEST(TrendSeries, HiddenLinesLeaveTheValueRange) {
  TrendSeries series;
  series.add("a:0", "A", 1000, "1", "");
  series.add("b:0", "B", 1000, "100", "");
  EXPECT_TRUE(series.setShown("b:0", false));
  EXPECT_FALSE(series.setShown("c:0", false));
  EXPECT_EQ(series.valueRange(), (std::pair{1.0, 1.0}));
  EXPECT_TRUE(series.setShown("a:0", false));
  EXPECT_FALSE(series.valueRange().has_value());
}

TEST(TrendSeries, PruneKeepsOnlyTheWindow) {
  TrendSeries series(10'000);
  for (int64_t t = 0; t <= 30'000; t += 1000) series.add("a:0", "A", t, "1", "");
  series.prune(30'000);
  const TrendLine& line = series.lines()[0];
  ASSERT_EQ(line.points.size(), 11u);
  EXPECT_EQ(line.points.front().timeMs, 20'000);
  series.prune(25'000);  // the clock went back: points "from the future" go too
  EXPECT_EQ(line.points.back().timeMs, 25'000);
}

TEST(TrendSeries, TimeAxisFitsYoungDataAndTheChosenSpan) {
  TrendSeries series(600'000);
  EXPECT_EQ(series.timeRange(1'000'000, 60'000), (std::pair<int64_t, int64_t>{940'000, 1'000'000}));
  series.add("a:0", "A", 995'000, "1", "");
  EXPECT_EQ(series.timeRange(1'000'000, 60'000).first, 1'000'000 - kTrendMinSpanMs);
  series.add("b:0", "B", 970'000, "1", "");
  EXPECT_EQ(series.timeRange(1'000'000, 60'000).first, 970'000);
  series.add("b:0", "B", 980'000, "1", "");
  series.setShown("b:0", false);  // a hidden line does not stretch the axis
  EXPECT_EQ(series.timeRange(1'000'000, 60'000).first, 1'000'000 - kTrendMinSpanMs);
  EXPECT_EQ(series.timeRange(1'000'000, 3'600'000).second, 1'000'000);
  series.add("a:0", "A", 100'000 + 995'000, "1", "");
  EXPECT_EQ(series.timeRange(2'000'000, 3'600'000).first, 2'000'000 - 600'000);  // the window caps
}

TEST(TrendSeries, StaysBoundedAndNeverDrawsBackwards) {
  TrendSeries series;
  for (size_t i = 0; i < kTrendMaxPointsPerLine + 100; ++i) {
    series.add("a:0", "A", static_cast<int64_t>(i), "1", "");
  }
  EXPECT_EQ(series.pointCount(), kTrendMaxPointsPerLine);
  series.add("a:0", "A", 5, "2", "");  // earlier than the last point
  ASSERT_EQ(series.pointCount(), 1u);
  EXPECT_EQ(series.lines()[0].points[0].value, 2.0);
}

}  // namespace
}  // namespace zelmot::app
