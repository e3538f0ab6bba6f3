#include "app/trend_series.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/parameter.h"

namespace zelmot::app {
namespace {

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<double> trendNumber(std::string_view valueText) {
  std::string text(trimmed(valueText));
  if (text.empty()) return std::nullopt;
  std::replace(text.begin(), text.end(), ',', '.');
  const char* first = text.data();
  const char* last = first + text.size();
  if (*first == '+' && text.size() > 1 && text[1] != '-') ++first;  // from_chars takes no '+'
  double value = 0.0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string trendKey(const std::string& name, int32_t index) {
  return name + ":" + std::to_string(index);
}

std::string trendLabel(const std::string& key, const std::string& caption) {
  return caption.empty() ? key : key + " — " + caption;
}

TrendSeries::TrendSeries(int64_t windowMs, TrendOverflow overflow)
    : windowMs_(windowMs), overflow_(overflow) {}

TrendLine& TrendSeries::lineFor(const std::string& key, const std::string& label) {
  for (TrendLine& line : lines_) {
    if (line.key == key) return line;
  }
  TrendLine& line = lines_.emplace_back();
  line.key = key;
  line.label = label;
  return line;
}

void TrendSeries::add(const std::string& key, const std::string& label, int64_t timeMs,
                      const std::string& valueText, const std::string& errorText) {
  TrendLine& line = lineFor(key, label);
  if (!line.points.empty() && timeMs < line.points.back().timeMs) {
    line.points.clear();
    line.stride = 1;
  }
  if (line.stride > 1 && ++line.skipped < line.stride) return;
  line.skipped = 0;
  TrendPoint point{timeMs, std::nullopt};
  if (errorText.empty()) point.value = trendNumber(valueText);
  line.points.push_back(point);
  if (line.points.size() > kTrendMaxPointsPerLine) makeRoom(line);
}

void TrendSeries::makeRoom(TrendLine& line) const {
  if (overflow_ == TrendOverflow::DropOldest) {
    line.points.pop_front();
    return;
  }
  std::deque<TrendPoint> kept;
  for (size_t i = 0; i < line.points.size(); i += 2) kept.push_back(line.points[i]);
  line.points.swap(kept);
  line.stride *= 2;
}

void TrendSeries::addReading(const model::Parameter& parameter, int64_t timeMs) {
  const std::string key = trendKey(parameter.name(), parameter.linearIndex());
  add(key, trendLabel(key, parameter.treeCaption()), timeMs, parameter.linkValueText(),
      parameter.errorText());
}

void TrendSeries::prune(int64_t nowMs) {
  const int64_t oldest = nowMs - windowMs_;
  for (TrendLine& line : lines_) {
    while (!line.points.empty() && line.points.front().timeMs < oldest) line.points.pop_front();
    while (!line.points.empty() && line.points.back().timeMs > nowMs) line.points.pop_back();
  }
}

void TrendSeries::clear() { lines_.clear(); }

bool TrendSeries::setShown(const std::string& key, bool shown) {
  for (TrendLine& line : lines_) {
    if (line.key != key) continue;
    line.shown = shown;
    return true;
  }
  return false;
}

const TrendLine* TrendSeries::find(const std::string& key) const {
  for (const TrendLine& line : lines_) {
    if (line.key == key) return &line;
  }
  return nullptr;
}

size_t TrendSeries::pointCount() const {
  size_t count = 0;
  for (const TrendLine& line : lines_) count += line.points.size();
  return count;
}

std::vector<TrendSegment> TrendSeries::segments(const TrendLine& line) {
  std::vector<TrendSegment> result;
  bool open = false;
  for (const TrendPoint& point : line.points) {
    if (!point.value) {
      open = false;
      continue;
    }
    if (!open) result.emplace_back();
    open = true;
    result.back().emplace_back(point.timeMs, *point.value);
  }
  return result;
}

std::pair<int64_t, int64_t> TrendSeries::timeRange(int64_t nowMs, int64_t spanMs) const {
  int64_t start = nowMs - std::min(spanMs, windowMs_);
  if (const auto span = timeSpan()) {
    start = std::max(start, std::min(span->first, nowMs - kTrendMinSpanMs));
  }
  return {start, nowMs};
}

std::optional<std::pair<int64_t, int64_t>> TrendSeries::timeSpan() const {
  std::optional<std::pair<int64_t, int64_t>> span;
  for (const TrendLine& line : lines_) {
    if (!line.shown || line.points.empty()) continue;
    const int64_t first = line.points.front().timeMs;
    const int64_t last = line.points.back().timeMs;
    span = span ? std::pair{std::min(span->first, first), std::max(span->second, last)}
                : std::pair{first, last};
  }
  return span;
}

std::optional<std::pair<double, double>> TrendSeries::valueRange() const {
  std::optional<std::pair<double, double>> range;
  for (const TrendLine& line : lines_) {
    if (!line.shown) continue;
    for (const TrendPoint& point : line.points) {
      if (!point.value) continue;
      const double v = *point.value;
      range = range ? std::pair{std::min(range->first, v), std::max(range->second, v)}
                    : std::pair{v, v};
    }
  }
  return range;
}

}  // namespace zelmot::app
