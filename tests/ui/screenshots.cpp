// Renders the main window after a read of the whole device, the progress dialog in its
// detailed size and an edit refusal into PNG files, for a reviewer to look at.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/command_ids.h"
#include "model/parameter.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/progress_dialog.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui::testing {
namespace {

QString shotPath(const char* name) {
  QDir().mkpath(ZELMOT_SCREENSHOT_DIR);
  return QString(ZELMOT_SCREENSHOT_DIR) + "/" + name;
}

TEST(Screenshots, MainWindowProgressDialogAndEditRefusal) {
  SimProcess sim({"--pace"});
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath(), 200);
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  frame.resize(1180, 760);
  frame.show();

  // The progress dialog, detailed, part way through the read.
  ProgressDialog& dialog = frame.progressDialog();
  bool grabbed = false;
  QTimer::singleShot(1500, &dialog, [&] {
    dialog.toggleButton()->click();
    QTimer::singleShot(1500, &dialog, [&] {
      grabbed = dialog.grab().save(shotPath("progress_detailed.png"));
    });
  });
  frame.action(app::kCmdReadAll)->trigger();
  EXPECT_TRUE(grabbed);

  // The main window with a few branches open.
  TreeModel& model = frame.treeModel();
  const QModelIndex root = model.index(0, 0);
  frame.view().expand(root);
  for (int row = 0; row < std::min(model.rowCount(root), 6); ++row) {
    if (row % 2 == 0) frame.view().expand(model.index(row, 0, root));
  }
  const QModelIndex edited = findRow(model, [](const app::TreeRow& row) {
    const model::Parameter* p = row.parameter();
    return row.kind() == app::TreeRow::Kind::Parameter && p != nullptr &&
           p->valueKind() == model::ValueKind::StoredDot && p->hasLimits() && p->isWritable();
  });
  ASSERT_TRUE(edited.isValid());
  model::Parameter& parameter = *model.rowAt(edited)->parameter();
  // One pending change (green) to show beside the read values.
  model.setData(edited.siblingAtColumn(2), QString::asprintf("%.3f", parameter.minimum()));
  QCoreApplication::processEvents();
  frame.view().selectRow(edited.parent());
  frame.view().expand(edited.parent());
  QCoreApplication::processEvents();
  EXPECT_TRUE(frame.grab().save(shotPath("main_window.png")));

  // The refusal of a value out of range, as the message box shows it.
  fixture.prompt.clear();
  model.setData(edited.siblingAtColumn(2), QString::number(parameter.maximum() * 10 + 100));
  ASSERT_TRUE(waitUntil([&] { return !fixture.prompt.calls().empty(); }));
  const test_support::PromptCall refusal = fixture.prompt.calls().front();
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(refusal.caption),
                  QString::fromStdString(refusal.text), QMessageBox::Ok, &frame);
  box.show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(box.grab().save(shotPath("edit_refusal.png")));
}

}  // namespace
}  // namespace zelmot::ui::testing
