// Renders the main window with the live trend docked below the trees while four inputs are
// polled (one of them failing, which leaves a gap), into a PNG file for a reviewer.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QTest>
#include <cmath>

#include "../archive/export_fixtures.h"
#include "app/command_ids.h"
#include "app/protocol_archive.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/trend_day_chooser.h"
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

// A working day of three inputs, one reading a minute, with a half-hour outage of input 3.
std::vector<archive::LogRecord> sampleDay() {
  std::vector<archive::LogRecord> records;
  for (int minute = 8 * 60; minute < 18 * 60; ++minute) {
    const double hours = minute / 60.0;
    const int hour = minute / 60;
    const int64_t stamp = archive::test::stampAt(hour, minute % 60, 0);
    for (uint8_t input = 0; input < 3; ++input) {
      const float value = static_cast<float>(60.0 + 20.0 * input +
                                             15.0 * std::sin(hours * 0.9 + input));
      const bool outage = input == 2 && minute >= 13 * 60 && minute < 13 * 60 + 30;
      records.push_back({stamp, "rEAd", input, outage, archive::test::floatReply(value)});
    }
  }
  return records;
}

TEST(TrendScreenshots, ArchivedDayInTheTrendPanel) {
  SimProcess sim;
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  frame.resize(1200, 820);
  frame.show();
  frame.action(app::kCmdTrendPanel)->setChecked(true);
  ASSERT_NE(frame.protocolArchive(), nullptr);
  const std::filesystem::path protocol = frame.protocolArchive()->protocolDir();
  archive::test::writeDay(protocol / "06-12-2026.log", sampleDay());
  const model::DescBranch& tree = *frame.document().deviceModel().measurementTree();
  ASSERT_TRUE(showTrendDay(*frame.trendPanel(), archive::archiveFoldersIn(protocol.parent_path()),
                           "06-12-2026.log", tree, fixture.prompt));
  frame.trendPanel()->setMinimumHeight(380);
  QTest::qWait(50);
  EXPECT_TRUE(frame.trendPanel()->grab().save(shotPath("trend_archive_day.png")));
}

}  // namespace
}  // namespace zelmot::ui::testing
