// Renders the main window with the live trend docked below the trees while four inputs are
// polled (one of them failing, which leaves a gap), into a PNG file for a reviewer.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QTest>

#include "app/command_ids.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/trend_panel.h"

namespace zelmot::ui::testing {
namespace {

QString shotPath(const char* name) {
  QDir().mkpath(ZELMOT_SCREENSHOT_DIR);
  return QString(ZELMOT_SCREENSHOT_DIR) + "/" + name;
}

TEST(TrendScreenshots, TrendPanelWhilePolling) {
  SimProcess sim({"--status", "rEAd:3=253"});
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  frame.resize(1200, 820);
  frame.show();
  frame.action(app::kCmdTrendPanel)->setChecked(true);
  TrendPanel* panel = frame.trendPanel();
  ASSERT_NE(panel, nullptr);
  panel->setMinimumHeight(380);

  std::vector<model::Parameter*> polled;
  frame.document().deviceModel().measurementTree()->CollectPolled(polled);
  exchange::PollScheduler& polling = frame.document().deviceLink().polling();
  for (model::Parameter* parameter : polled) {
    if (parameter->name() == "rEAd" && parameter->linearIndex() < 4) polling.start(*parameter);
  }
  ASSERT_TRUE(waitUntil([&] { return panel->series().pointCount() >= 4 * 8; }, 30000));
  polling.stopAll();
  panel->redraw();
  EXPECT_TRUE(frame.grab().save(shotPath("main_window_trend.png")));
  EXPECT_TRUE(panel->savePng(shotPath("trend_panel.png")));
}

}  // namespace
}  // namespace zelmot::ui::testing
