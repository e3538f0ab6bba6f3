#include "app/graph_plot.h"

#include <gtest/gtest.h>

namespace zelmot::app {
namespace {

TEST(GraphPlot, NodesSpanThePlotInsideAMarginOfSevenHundredths) {
  const std::vector<PlotPoint> points = {{0, 10}, {50, 30}, {100, 20}};
  const PlotMapping mapping(points, 200, 100);
  EXPECT_DOUBLE_EQ(mapping.toX(0), 14);
  EXPECT_DOUBLE_EQ(mapping.toX(100), 186);
  EXPECT_DOUBLE_EQ(mapping.toY(10), 93);  // the lowest Y at the bottom
  EXPECT_DOUBLE_EQ(mapping.toY(30), 7);
  EXPECT_EQ(mapping.gridX().front(), 0);
  EXPECT_EQ(mapping.gridX().back(), 100);
  EXPECT_EQ(mapping.gridY().size(), static_cast<size_t>(kGridDivisions + 1));
}

TEST(GraphPlot, AZeroSpanCountsAsOne) {
  const PlotMapping single({{5, 5}}, 100, 100);
  EXPECT_DOUBLE_EQ(single.toX(5), 7);
  EXPECT_DOUBLE_EQ(single.toX(6), 93);
  const PlotMapping empty({}, 100, 100);
  EXPECT_DOUBLE_EQ(empty.toY(0), 93);
}

TEST(GraphPlot, LabelDecimalsShrinkAsValuesGrow) {
  EXPECT_EQ(axisLabel(9.5), "9.500");
  EXPECT_EQ(axisLabel(-250), "-250.000");  // below 10
  EXPECT_EQ(axisLabel(10), "10.00");
  EXPECT_EQ(axisLabel(99.99), "99.99");
  EXPECT_EQ(axisLabel(999.94), "999.9");
  EXPECT_EQ(axisLabel(1000), "1000");
}

TEST(GraphPlot, TheTooltipNodeIsWithinTwentyUnitsBothWays) {
  const std::vector<PlotPoint> points = {{0, 0}, {1, 1}};
  const PlotMapping mapping(points, 1000, 1000);  // nodes at (70, 930) and (930, 70)
  EXPECT_EQ(pointNear(points, mapping, 90, 910), 0);
  EXPECT_EQ(pointNear(points, mapping, 91, 930), -1);
  EXPECT_EQ(pointNear(points, mapping, 930, 51), 1);
  EXPECT_EQ(pointNear(points, mapping, 500, 500), -1);
  EXPECT_EQ(pointTooltip({1.5, -2}), "X = 1.500\nY = -2.000");
}

}  // namespace
}  // namespace zelmot::app
