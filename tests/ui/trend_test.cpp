// The live trend against the simulator: its menu command, points arriving from polling,
// pause, the choice of lines and saving as PNG.
#include <gtest/gtest.h>

#include <QAction>
#include <QChart>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QTemporaryDir>
#include <QTest>

#include "app/command_ids.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/trend_panel.h"

namespace zelmot::ui::testing {
namespace {

class TrendTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(fixture.frame, nullptr);
    ASSERT_NE(panel(), nullptr);
    frame().show();  // the panel draws only while it shows
  }
  CMainFrame& frame() { return *fixture.frame; }
  TrendPanel* panel() { return frame().trendPanel(); }

  // Polls the first two readings of the measurement tree.
  void pollTwoReadings() {
    std::vector<model::Parameter*> polled;
    frame().document().deviceModel().measurementTree()->CollectPolled(polled);
    for (model::Parameter* parameter : polled) {
      if (parameter->name() == "rEAd" && parameter->linearIndex() < 2) {
        frame().document().deviceLink().polling().start(*parameter);
      }
    }
  }
  size_t pointsOf(const char* key) {
    const app::TrendLine* line = panel()->series().find(key);
    return line == nullptr ? 0 : line->points.size();
  }

  SimProcess sim{{"--baud", "115200"}};
  FrameFixture fixture{sim.slavePath()};
};

TEST_F(TrendTest, MenuCommandShowsThePanelAndClosingUnticksIt) {
  QAction* command = frame().action(app::kCmdTrendPanel);
  ASSERT_NE(command, nullptr);
  EXPECT_FALSE(command->isChecked());
  EXPECT_FALSE(panel()->isVisible());
  EXPECT_EQ(panel()->windowTitle(), "Тренд опрашиваемых параметров");
  command->setChecked(true);
  EXPECT_TRUE(panel()->isVisible());
  panel()->close();
  EXPECT_FALSE(panel()->isVisible());
  EXPECT_FALSE(command->isChecked());
}

TEST_F(TrendTest, PolledReadingsArriveAsNumericPointsWithALegend) {
  frame().action(app::kCmdTrendPanel)->setChecked(true);
  pollTwoReadings();
  ASSERT_TRUE(waitUntil([&] { return pointsOf("rEAd:0") >= 2 && pointsOf("rEAd:1") >= 2; },
                        8000));
  for (const app::TrendLine& line : panel()->series().lines()) {
    for (const app::TrendPoint& point : line.points) EXPECT_TRUE(point.value.has_value());
  }
  panel()->redraw();
  EXPECT_EQ(panel()->plottedPointCount(), static_cast<int>(panel()->series().pointCount()));
  QStringList legend;
  for (QLegendMarker* marker : panel()->chart()->legend()->markers()) {
    if (marker->isVisible()) legend << marker->label();
  }
  EXPECT_EQ(legend.size(), 2);
  EXPECT_TRUE(legend.value(0).startsWith("rEAd:0 — ")) << legend.value(0).toStdString();

  // A hidden line leaves the plot; the others stay.
  const int both = panel()->plottedPointCount();
  EXPECT_TRUE(panel()->setLineShown("rEAd:1", false));
  EXPECT_EQ(panel()->shownLineCount(), 1);
  EXPECT_LT(panel()->plottedPointCount(), both);
  EXPECT_FALSE(panel()->setLineShown("nothing:0", false));
}

TEST_F(TrendTest, PauseFreezesThePlotButKeepsRecordingAndThePngIsSaved) {
  frame().action(app::kCmdTrendPanel)->setChecked(true);
  pollTwoReadings();
  ASSERT_TRUE(waitUntil([&] { return pointsOf("rEAd:0") >= 1; }, 8000));
  panel()->redraw();
  panel()->setPaused(true);
  const int frozen = panel()->plottedPointCount();
  const size_t recorded = panel()->series().pointCount();
  ASSERT_TRUE(waitUntil([&] { return panel()->series().pointCount() >= recorded + 2; }, 8000));
  QTest::qWait(1200);  // a redraw tick passes
  EXPECT_EQ(panel()->plottedPointCount(), frozen);
  panel()->setPaused(false);
  EXPECT_GT(panel()->plottedPointCount(), frozen);

  QTemporaryDir dir;
  const QString path = dir.filePath("trend.png");
  ASSERT_TRUE(panel()->savePng(path));
  const QImage image(path);
  EXPECT_FALSE(image.isNull());
  EXPECT_GT(image.width(), 100);
  EXPECT_FALSE(panel()->savePng(dir.filePath("missing/trend.png")));
}

}  // namespace
}  // namespace zelmot::ui::testing
