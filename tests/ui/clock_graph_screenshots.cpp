// Renders the clock dialog after a read of the simulator's clock and the graph editor over
// a graph written to the simulator, at two sizes, into PNG files for a reviewer.
#include <gtest/gtest.h>

#include <QDir>

#include "app/clock_dialog_state.h"
#include "app/graph_dialog_state.h"
#include "app/parameter_device.h"
#include "document/zelmot_doc.h"
#include "model/parameter.h"
#include "sim_process.h"
#include "ui/clock_dialog.h"
#include "ui/graph_dialog.h"

namespace zelmot::ui::testing {
namespace {

QString shotPath(const char* name) {
  QDir().mkpath(ZELMOT_SCREENSHOT_DIR);
  return QString(ZELMOT_SCREENSHOT_DIR) + "/" + name;
}

TEST(ClockGraphScreenshots, ClockDialogAndGraphEditor) {
  SimProcess sim;
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  document::CZELMOTDoc& doc = fixture.frame->document();
  app::LinkParameterDevice device(doc.deviceLink());

  model::Parameter* clock = doc.findCatalogueParameter(app::kClockParameterName);
  ASSERT_NE(clock, nullptr);
  ASSERT_EQ(device.read(*clock), 0) << clock->errorText();
  app::ClockDialogState clockState(doc.valueContext().clock());
  CDateTimeDlg clockDialog(clockState, fixture.prompt);
  clockDialog.show();
  EXPECT_TRUE(clockDialog.grab().save(shotPath("clock_dialog.png")));

  app::GraphDialogState written(1, doc.root());
  written.load(device);
  written.setInputChoice(3);
  const char* nodes[][2] = {{"-20", "1.5"}, {"0", "0.8"}, {"15", "0"}, {"40", "-1.2"}, {"80", "-2"}};
  written.setNodeCount(5);
  for (int row = 0; row < 5; ++row) {
    written.editCell(row, app::GraphColumn::X, nodes[row][0]);
    written.editCell(row, app::GraphColumn::Y, nodes[row][1]);
  }
  ASSERT_TRUE(written.write(device).errors.empty());

  app::GraphDialogState shown(1, doc.root());
  shown.load(device);
  CGrafDlg graphDialog(shown, fixture.prompt);
  graphDialog.show();
  graphDialog.resize(graphDialog.sizeHint());
  EXPECT_TRUE(graphDialog.grab().save(shotPath("graph_dialog.png")));
  graphDialog.resize(1100, 700);
  EXPECT_TRUE(graphDialog.grab().save(shotPath("graph_dialog_large.png")));
}

}  // namespace
}  // namespace zelmot::ui::testing
