#include "app/graph_plot.h"

#include <algorithm>
#include <cmath>

#include "model/text_util.h"

namespace zelmot::app {
namespace {

std::vector<double> gridValues(double low, double high) {
  std::vector<double> values;
  for (int i = 0; i <= kGridDivisions; ++i) values.push_back(low + (high - low) * i / kGridDivisions);
  return values;
}

}  // namespace

PlotMapping::PlotMapping(const std::vector<PlotPoint>& points, double width, double height)
    : width_(width), height_(height) {
  if (!points.empty()) {
    const auto [lowX, highX] = std::minmax_element(
        points.begin(), points.end(), [](const PlotPoint& a, const PlotPoint& b) { return a.x < b.x; });
    const auto [lowY, highY] = std::minmax_element(
        points.begin(), points.end(), [](const PlotPoint& a, const PlotPoint& b) { return a.y < b.y; });
    minX_ = lowX->x;
    maxX_ = highX->x;
    minY_ = lowY->y;
    maxY_ = highY->y;
  }
  spanX_ = maxX_ - minX_ == 0 ? 1 : maxX_ - minX_;
  spanY_ = maxY_ - minY_ == 0 ? 1 : maxY_ - minY_;
}

double PlotMapping::toX(double x) const {
  const double margin = width_ * kPlotMargin;
  return margin + (x - minX_) / spanX_ * (width_ - 2 * margin);
}

double PlotMapping::toY(double y) const {
  const double margin = height_ * kPlotMargin;
  return height_ - margin - (y - minY_) / spanY_ * (height_ - 2 * margin);
}

std::vector<double> PlotMapping::gridX() const { return gridValues(minX_, minX_ + spanX_); }
std::vector<double> PlotMapping::gridY() const { return gridValues(minY_, minY_ + spanY_); }

std::string axisLabel(double value) {
  if (value < 10) return model::formatText("%.3f", value);
  if (value < 100) return model::formatText("%.2f", value);
  if (value < 1000) return model::formatText("%.1f", value);
  return model::formatText("%.0f", value);
}

int pointNear(const std::vector<PlotPoint>& points, const PlotMapping& mapping, double x, double y) {
  for (size_t i = 0; i < points.size(); ++i) {
    if (std::fabs(mapping.toX(points[i].x) - x) <= kTooltipReach &&
        std::fabs(mapping.toY(points[i].y) - y) <= kTooltipReach) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string pointTooltip(const PlotPoint& point) {
  return model::formatText("X = %.3f\nY = %.3f", point.x, point.y);
}

}  // namespace zelmot::app
