#pragma once
// One past day of the measurement archive as trend lines: every record of the day becomes
// a point of its parameter's line (an error record, or a text that is no number, a gap).
#include <string>
#include <unordered_map>
#include <vector>

#include "app/trend_series.h"
#include "archive/day_source.h"
#include "archive/export_columns.h"

namespace zelmot::model {
class DescBranch;
}

namespace zelmot::app {

// A day spans at most 25 hours (the day the clocks go back).
inline constexpr int64_t kTrendDayWindowMs = 25LL * 60 * 60 * 1000;

enum class TrendDayStatus {
  Loaded,
  Missing,  // neither a daily log nor a monthly stream of that day
  Damaged,  // the records up to the damage were loaded
};

struct TrendDay {
  TrendDayStatus status = TrendDayStatus::Missing;
  TrendSeries series{kTrendDayWindowMs, TrendOverflow::Thin};
  size_t records = 0;  // records that had a column
};

// Legend texts by key for the parameters of the measurement tree.
std::unordered_map<std::string, std::string> trendLabels(const model::DescBranch& tree);

// Reads the day named like its daily log ("06-12-2026.log"); a packed day is unpacked into
// the scratch folder and the copy removed afterwards.
TrendDay loadTrendDay(const archive::ArchiveFolders& folders, const std::string& dayName,
                      const std::vector<archive::ExportColumn>& columns,
                      const std::unordered_map<std::string, std::string>& labels);

}  // namespace zelmot::app
