// The clock dialog and the graph editor: their widgets over the dialog states, and both
// opened from the main window against the simulator, down to the bytes on the line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "app/clock_dialog_state.h"
#include "app/command_ids.h"
#include "app/graph_dialog_state.h"
#include "document/zelmot_doc.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/clock_dialog.h"
#include "ui/graph_dialog.h"
#include "ui/graph_plot_widget.h"
#include "ui/link_worker.h"
#include "ui/tree_list_view.h"

namespace zelmot::ui::testing {
namespace {

using ::testing::ElementsAre;

std::tm fixedTime() {
  std::tm local{};
  local.tm_year = 126;
  local.tm_mon = 11;
  local.tm_mday = 8;
  local.tm_hour = 9;
  local.tm_min = 41;
  local.tm_sec = 7;
  return local;
}

// Runs `act` on the first modal dialog of type T that opens (within the time-out).
template <typename T>
void whenModal(const std::function<void(T&)>& act) {
  auto* watch = new QTimer;
  watch->setInterval(20);
  QObject::connect(watch, &QTimer::timeout, [watch, act] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      watch->stop();
      watch->deleteLater();
      act(*dialog);
    }
  });
  watch->start();
}

TEST(ClockDialog, ShowsThePresentFieldsAndFixedBlocks) {
  RecordingPrompt prompt;
  app::ClockDialogState state({-1, 7, 5, 10, 15, 4, 9});
  CDateTimeDlg dialog(state, prompt, fixedTime);
  EXPECT_FALSE(dialog.field(0)->isEnabled());
  EXPECT_TRUE(dialog.field(6)->isEnabled());
  EXPECT_EQ(dialog.field(4)->text(), "15");
  EXPECT_EQ(dialog.field(6)->maxLength(), 2);
  EXPECT_EQ(dialog.lowestBox()->count(), 7);
  EXPECT_EQ(dialog.lowestBox()->currentText(), "Секунды");
  EXPECT_EQ(dialog.highestBox()->count(), 6);
  EXPECT_EQ(dialog.highestBox()->currentText(), "Год");
  EXPECT_TRUE(dialog.writeAtOnceBox()->isChecked());
  EXPECT_TRUE(dialog.syncButton()->toolTip().contains(
      "Синхронизация времени прибора с системным временем компьютера."));
}

TEST(ClockDialog, SynchronisingWithoutTheTickOnlyFillsTheFields) {
  RecordingPrompt prompt;
  app::ClockDialogState state({-1, 7, 5, 10, 15, 4, 9});
  CDateTimeDlg dialog(state, prompt, fixedTime);
  dialog.show();
  dialog.writeAtOnceBox()->setChecked(false);
  QTest::mouseClick(dialog.syncButton(), Qt::LeftButton);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.field(6)->text(), "26");
  EXPECT_EQ(dialog.field(4)->text(), "08");
  EXPECT_EQ(dialog.field(1)->text(), "07");

  // An emptied field is refused with a warning; the dialog stays.
  dialog.field(5)->clear();
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(prompt.count(), 1u);
  EXPECT_EQ(prompt.calls()[0].caption, "Предупреждение");

  dialog.writeAtOnceBox()->setChecked(true);
  QTest::mouseClick(dialog.syncButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(state.valueText(), "26|11|7|09|41|07|97");
}

class GraphDialogWidget : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR)); }
  document::CZELMOTDoc doc;
  RecordingPrompt prompt;
};

TEST_F(GraphDialogWidget, GreysRowsEditsInPlaceAndRefusesADuplicateX) {
  app::GraphDialogState state(1, doc.root());
  CGrafDlg dialog(state, prompt);
  EXPECT_EQ(dialog.windowTitle(), "График коррекции уставки №1");
  EXPECT_EQ(dialog.inputBox()->count(), 9);
  EXPECT_FALSE(dialog.table()->item(0, 1)->flags() & Qt::ItemIsEditable);
  dialog.countBox()->setValue(2);
  EXPECT_TRUE(dialog.table()->item(1, 2)->flags() & Qt::ItemIsEditable);
  EXPECT_FALSE(dialog.table()->item(2, 1)->flags() & Qt::ItemIsEditable);
  EXPECT_FALSE(dialog.table()->item(0, 0)->flags() & Qt::ItemIsEditable);
  EXPECT_EQ(dialog.table()->item(0, 0)->text(), "1.");
  EXPECT_EQ(dialog.table()->item(0, 1)->text(), "Н/Д");

  EXPECT_TRUE(dialog.takeCellEdit(0, 1, "1"));
  EXPECT_TRUE(dialog.takeCellEdit(0, 2, "3"));
  EXPECT_EQ(dialog.plot()->points().size(), 1u);
  EXPECT_FALSE(dialog.takeCellEdit(1, 1, "1.000"));
  ASSERT_EQ(prompt.count(), 1u);
  EXPECT_EQ(prompt.calls()[0].caption, "Предупреждение");
  EXPECT_EQ(dialog.table()->item(1, 1)->text(), "Н/Д");
}

TEST_F(GraphDialogWidget, ARefusedEditOpensAgainWithItsText) {
  app::GraphDialogState state(1, doc.root());
  CGrafDlg dialog(state, prompt);
  dialog.show();
  dialog.countBox()->setValue(2);
  ASSERT_TRUE(dialog.takeCellEdit(0, 1, "5"));
  QTableWidget& table = *dialog.table();
  table.setCurrentCell(1, 1);
  table.editItem(table.item(1, 1));
  auto* editor = table.findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText("5");
  QTest::keyClick(editor, Qt::Key_Return);
  ASSERT_TRUE(waitUntil([&] { return prompt.count() == 1; }, 3000));
  ASSERT_TRUE(waitUntil([&] {
    for (auto* line : table.findChildren<QLineEdit*>()) {
      if (line->isVisible() && line->text() == "5" && line->selectedText() == "5") return true;
    }
    return false;
  }, 3000));
  EXPECT_EQ(table.item(1, 1)->text(), "Н/Д");
}

TEST(GraphPlotWidget, NodesKeepTheirTooltipAtAnySize) {
  GraphPlotWidget plot;
  plot.setPoints({{0, 0}, {10, 5}, {20, 2.5}});
  for (const QSize size : {QSize(240, 180), QSize(900, 700)}) {
    plot.resize(size);
    const QRect area = plot.plotArea();
    const app::PlotMapping mapping(plot.points(), area.width(), area.height());
    const QPoint node(area.left() + static_cast<int>(mapping.toX(10)),
                      area.top() + static_cast<int>(mapping.toY(5)));
    EXPECT_EQ(plot.tooltipAt(node + QPoint(15, -15)), "X = 10.000\nY = 5.000");
    EXPECT_EQ(plot.tooltipAt(node + QPoint(25, 0)), "");
    EXPECT_FALSE(plot.grab().isNull());
  }
}

TEST(ClockGraphOnTheLine, TheGraphDialogWritesInTheDevicesOrder) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  bool edited = false;
  whenModal<CGrafDlg>([&](CGrafDlg& dialog) {
    dialog.inputBox()->setCurrentIndex(4);
    dialog.countBox()->setValue(2);
    edited = dialog.takeCellEdit(0, 1, "-10") && dialog.takeCellEdit(0, 2, "1") &&
             dialog.takeCellEdit(1, 1, "10") && dialog.takeCellEdit(1, 2, "2");
    dialog.accept();
  });
  frame.runCommand(app::kCmdGraph1);
  ASSERT_TRUE(waitUntil(
      [&] { return sim.writtenValueNames().size() == 7u && !frame.linkWorker().busy(); }));
  EXPECT_TRUE(edited);
  EXPECT_THAT(sim.writtenValueNames(),
              ElementsAre("Node", "in.Gr", "absc", "ordn", "absc", "ordn", "Node"));
  EXPECT_THAT(sim.writesOf("in.Gr"), ElementsAre("[04 00 00]"));
  EXPECT_THAT(sim.writesOf("Node"), ElementsAre("[00 00 00]", "[02 00 00]"));
  EXPECT_EQ(fixture.prompt.count(), 0u) << fixture.prompt.messages().front();
  EXPECT_TRUE(frame.isDocumentModified());
}

TEST(ClockGraphOnTheLine, TheClockCellOpensTheDialogThatWritesTheWorkedExample) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  // As if the clock had last been read with all seven fields.
  frame.document().valueContext().setClock({0, 5, 30, 14, 7, 5, 9});
  const QModelIndex row = findRow(frame.treeModel(), [](const app::TreeRow& shown) {
    return shown.parameter() != nullptr && shown.parameter()->name() == "rtC";
  });
  ASSERT_TRUE(row.isValid());
  whenModal<CDateTimeDlg>([](CDateTimeDlg& dialog) {
    dialog.field(6)->setText("09");
    dialog.field(1)->setText("05");
    dialog.accept();
  });
  emit frame.view().clicked(row.siblingAtColumn(static_cast<int>(app::Column::Value)));
  ASSERT_TRUE(waitUntil([&] { return !sim.writesOf("rtC").empty() && !frame.linkWorker().busy(); }));
  EXPECT_THAT(sim.writesOf("rtC"), ElementsAre("[09 04 06 0E 1E 05 00 70]"));
  EXPECT_EQ(frame.document().findCatalogueParameter("rtC")->valueText().substr(0, 16),
            "07.05.2009 14:30");
}

}  // namespace
}  // namespace zelmot::ui::testing
