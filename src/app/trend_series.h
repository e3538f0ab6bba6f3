#pragma once
// The points of the live trend without the plot: one line per polled parameter, the
// numeric value of each reading, gaps for readings that carry no number, and a time
// window that drops old points so memory stays bounded however long polling runs.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmot::model {
class Parameter;
}

namespace zelmot::app {

inline constexpr int64_t kTrendWindowMs = 10 * 60 * 1000;
// The shortest time axis, so that the first readings do not fill the whole width.
inline constexpr int64_t kTrendMinSpanMs = 10 * 1000;
// A safety cap per line for readings that come faster than the window expects.
inline constexpr size_t kTrendMaxPointsPerLine = 4096;

struct TrendPoint {
  int64_t timeMs = 0;
  std::optional<double> value;  // empty: a gap (error, or no number in the value text)
};

struct TrendLine {
  std::string key;    // name with request index, e.g. "rEAd:2"
  std::string label;  // shown in the legend
  bool shown = true;
  std::deque<TrendPoint> points;  // oldest first
  int stride = 1;   // a thinned line keeps one reading in `stride`
  int skipped = 0;  // readings passed over since the last one kept
};

// What a full line gives up: its oldest points (the live trend), or every second point
// and from then on every second reading (a whole archived day at a coarser step).
enum class TrendOverflow { DropOldest, Thin };

// A run of consecutive numeric points: what a plot draws as one polyline.
using TrendSegment = std::vector<std::pair<int64_t, double>>;

// The number a value text stands for: a decimal number with '.' or ',' as separator,
// surrounding blanks allowed; nothing for any other text (status words, "Нет данных",
// infinities).
std::optional<double> trendNumber(std::string_view valueText);

// "rEAd:2" for the polled parameter rEAd with request index 2.
std::string trendKey(const std::string& name, int32_t index);
// The legend text: the key and, when the tree gives one, the caption (which carries the
// unit where known, as in "Регулятор 1, %").
std::string trendLabel(const std::string& key, const std::string& caption);

class TrendSeries {
public:
  explicit TrendSeries(int64_t windowMs = kTrendWindowMs,
                       TrendOverflow overflow = TrendOverflow::DropOldest);

  // Adds a reading at `timeMs`; a new key makes a new line. A reading with an error text
  // or without a number is a gap. A reading older than the line's last point (the clock
  // was set back) starts the line anew rather than drawing backwards.
  void add(const std::string& key, const std::string& label, int64_t timeMs,
           const std::string& valueText, const std::string& errorText);
  // The reading of a polled parameter as it stands now.
  void addReading(const model::Parameter& parameter, int64_t timeMs);

  // Drops the points older than the window before `nowMs` (and any from the future).
  void prune(int64_t nowMs);
  void clear();

  // False when there is no such line.
  bool setShown(const std::string& key, bool shown);

  const std::vector<TrendLine>& lines() const { return lines_; }
  const TrendLine* find(const std::string& key) const;
  size_t pointCount() const;
  int64_t windowMs() const { return windowMs_; }

  // The line's numeric points split at its gaps.
  static std::vector<TrendSegment> segments(const TrendLine& line);
  // The time axis ending at `nowMs`: the last `spanMs` (at most the window), shortened to
  // where the shown lines begin, but never below kTrendMinSpanMs.
  std::pair<int64_t, int64_t> timeRange(int64_t nowMs, int64_t spanMs) const;
  // The first and last time of the shown lines; nothing when they hold no point.
  std::optional<std::pair<int64_t, int64_t>> timeSpan() const;
  // Lowest and highest value among the shown lines; nothing when they hold no number.
  std::optional<std::pair<double, double>> valueRange() const;

private:
  TrendLine& lineFor(const std::string& key, const std::string& label);
  void makeRoom(TrendLine& line) const;

  int64_t windowMs_;
  TrendOverflow overflow_;
  std::vector<TrendLine> lines_;  // in order of first reading
};

}  // namespace zelmot::app
