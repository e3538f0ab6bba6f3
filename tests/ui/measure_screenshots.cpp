// Renders the main window with the measurement tree open while polling: check boxes, period
// cells and the values as they come, into a PNG file for a reviewer to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "app/measurement.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui::testing {
namespace {

QString shotPath(const char* name) {
  QDir().mkpath(ZELMOT_SCREENSHOT_DIR);
  return QString(ZELMOT_SCREENSHOT_DIR) + "/" + name;
}

TEST(MeasureScreenshots, MeasurementTreeWhilePolling) {
  SimProcess sim({"--status", "rEAd:3=253"});
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  frame.resize(1200, 760);
  frame.show();
  TreeModel& model = frame.treeModel();
  CZELMOTTreeListView& view = frame.view();
  view.collapse(model.index(0, 0));

  const QModelIndex tree = model.index(1, 0);
  view.expand(tree);
  const QModelIndex inputs = findRow(model, [](const app::TreeRow& row) {
    return row.kind() == app::TreeRow::Kind::Branch && row.branch() != nullptr &&
           row.branch()->name() == "Измеренные значения входов";
  }, tree);
  ASSERT_TRUE(inputs.isValid());
  view.expand(inputs);
  // Every input but the last is polled; the second every three seconds.
  int rows = model.rowCount(inputs);
  for (int row = 0; row + 1 < rows; ++row) {
    model.setData(model.index(row, 0, inputs), Qt::Checked, Qt::CheckStateRole);
  }
  model.setData(model.index(1, 1, inputs), "3000");
  model::Parameter* first = model.rowAt(model.index(0, 0, inputs))->parameter();
  ASSERT_TRUE(waitUntil([&] { return !first->hasNoData(); }));
  model::Parameter* slow = model.rowAt(model.index(1, 0, inputs))->parameter();
  ASSERT_TRUE(waitUntil([&] { return !slow->hasNoData(); }));
  view.fitColumnsToContents();
  EXPECT_TRUE(frame.grab().save(shotPath("measurement_polling.png")));
  frame.document().deviceLink().polling().stopAll();
}

}  // namespace
}  // namespace zelmot::ui::testing
