#pragma once
// The geometry of the graph editor's plot, free of any drawing toolkit: where a node lands
// in a plot of a given size, the grid and its label texts, and which node the mouse rests
// near. Nodes span the plot between the smallest and the largest X and Y, with a margin of
// 0.07 of the plot's width and height on every side (a zero span counts as 1).
#include <string>
#include <vector>

namespace zelmot::app {

struct PlotPoint {
  double x = 0;
  double y = 0;
};

inline constexpr double kPlotMargin = 0.07;
inline constexpr double kTooltipReach = 20;  // units, in both directions
inline constexpr int kGridDivisions = 4;

class PlotMapping {
public:
  PlotMapping(const std::vector<PlotPoint>& points, double width, double height);

  double toX(double x) const;
  double toY(double y) const;  // larger values higher up
  double minX() const { return minX_; }
  double maxX() const { return maxX_; }
  double minY() const { return minY_; }
  double maxY() const { return maxY_; }

  // The values of the grid lines, lowest to highest: the data range cut in kGridDivisions.
  std::vector<double> gridX() const;
  std::vector<double> gridY() const;

private:
  double minX_ = 0, maxX_ = 1, minY_ = 0, maxY_ = 1;
  double spanX_ = 1, spanY_ = 1;
  double width_ = 0, height_ = 0;
};

// A label value below 10 with "%.3f", below 100 with "%.2f", below 1000 "%.1f", else "%.0f".
std::string axisLabel(double value);

// The first node within kTooltipReach of (x, y) in both directions; -1 when none.
int pointNear(const std::vector<PlotPoint>& points, const PlotMapping& mapping, double x, double y);
// "X = %.3f\nY = %.3f".
std::string pointTooltip(const PlotPoint& point);

}  // namespace zelmot::app
