// The live trend against the simulator: its menu command, points arriving from polling,
// pause, the choice of lines and saving as PNG.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QChart>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

TEST_F(TrendTest, MenuCommandShowsAnArchivedDayAndTheLiveTrendComesBack) {
  using archive::LogRecord;
  using archive::test::floatReply;
  using archive::test::stampAt;
  ASSERT_NE(frame().protocolArchive(), nullptr);
  const std::filesystem::path protocol = frame().protocolArchive()->protocolDir();
  std::vector<LogRecord> records;
  for (int second = 0; second < 30; ++second) {
    records.push_back({stampAt(9, 0, second), "rEAd", 0, false, floatReply(20.0f + second)});
    records.push_back({stampAt(9, 0, second), "rEAd", 1, second == 10, floatReply(5.0f)});
  }
  archive::test::writeDay(protocol / "06-12-2026.log", records);
  archive::test::writeDay(protocol / "05-12-2026.log", {records.front()});

  // The newest day is offered first; taking it shows its 60 records in two lines.
  QStringList offered;
  QTimer::singleShot(0, [&offered] {
    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    offered = dialog->comboBoxItems();
    dialog->accept();
  });
  frame().action(app::kCmdTrendArchiveDay)->trigger();
  EXPECT_EQ(offered, (QStringList{"06-12-2026", "05-12-2026"}));
  ASSERT_TRUE(panel()->showingDay());
  EXPECT_TRUE(panel()->isVisible());
  EXPECT_TRUE(frame().action(app::kCmdTrendPanel)->isChecked());
  EXPECT_EQ(panel()->plottedPointCount(), 59);  // the failed reading is a gap
  EXPECT_EQ(panel()->shownLineCount(), 2);

  // A missing day is told and the plot stays as it was.
  const model::DescBranch& tree = *frame().document().deviceModel().measurementTree();
  const archive::ArchiveFolders folders = archive::archiveFoldersIn(protocol.parent_path());
  EXPECT_FALSE(showTrendDay(*panel(), folders, "01-01-2020.log", tree, fixture.prompt));
  EXPECT_EQ(fixture.prompt.count(), 1u);
  EXPECT_EQ(panel()->plottedPointCount(), 59);

  panel()->showLive();
  EXPECT_FALSE(panel()->showingDay());
  EXPECT_EQ(panel()->plottedPointCount(), 0);
}

}  // namespace
}  // namespace zelmot::ui::testing
