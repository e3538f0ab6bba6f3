// The tree model over the compiled device model: shape, lazy children, the item-model
// contract while a read fills it, and how fast branches expand.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <cstdio>

#include "app/command_ids.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui::testing {
namespace {

TEST(TreeModel, ShowsTheDeviceTreeAndTheProgramNodesWithTheSixColumns) {
  FrameFixture fixture("/dev/null-no-port");
  ASSERT_NE(fixture.frame, nullptr);
  TreeModel& model = fixture.frame->treeModel();
  // The device's network settings are a branch of the device tree, not shown again on top.
  ASSERT_EQ(model.rowCount(), 4);
  EXPECT_EQ(model.rowAt(model.index(0, 0))->branch(), fixture.frame->document().root());
  EXPECT_EQ(model.rowAt(model.index(1, 0))->branch(),
            fixture.frame->document().deviceModel().measurementTree());
  EXPECT_EQ(model.index(2, 0).data().toString(), "Сервисные параметры программы");
  EXPECT_EQ(model.index(3, 0).data().toString(), "Сетевые параметры программы");
  int deviceSettings = 0;
  forEachRow(model, [&](const QModelIndex& index) {
    if (index.data().toString() == "Сетевые параметры прибора") ++deviceSettings;
  });
  EXPECT_EQ(deviceSettings, 1);
  const char* titles[] = {"Описание", "Параметр", "Значение", "Атрибут редактирования",
                          "Владелец", "Ошибки ввода-вывода"};
  const int widths[] = {300, 70, 130, 110, 90, 220};
  ASSERT_EQ(model.columnCount(), 6);
  for (int column = 0; column < 6; ++column) {
    EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), QString(titles[column]));
    if (column < 5) {
      EXPECT_EQ(fixture.frame->view().columnWidth(column), widths[column]);
    }
  }
}

TEST(TreeListView, ColumnsFitTheirTitlesAndValuesAfterARefreshAndStayResizable) {
  FrameFixture fixture("/dev/null-no-port");
  ASSERT_NE(fixture.frame, nullptr);
  fixture.frame->resize(1000, 700);
  fixture.frame->show();
  TreeModel& model = fixture.frame->treeModel();
  CZELMOTTreeListView& view = fixture.frame->view();
  const QModelIndex clock = findRow(model, [](const app::TreeRow& row) {
    return row.parameter() != nullptr && row.parameter()->name() == "rtC";
  });
  ASSERT_TRUE(clock.isValid());
  view.selectRow(clock);
  const QString clockText = "15.04.2009 10:05:07.123";
  model.rowAt(clock)->parameter()->setRawValueText(clockText.toStdString());
  model.refreshAll();

  QHeaderView* header = view.header();
  for (int column = 1; column < 5; ++column) {
    EXPECT_GE(view.columnWidth(column), header->sectionSizeHint(column)) << column;
    EXPECT_EQ(header->sectionResizeMode(column), QHeaderView::Interactive);
  }
  EXPECT_GE(view.columnWidth(2), view.fontMetrics().horizontalAdvance(clockText));
  EXPECT_LE(view.columnWidth(0), std::max(300, view.viewport()->width() / 2));

  // Browsing on widens what new rows need, but not a column the user has narrowed.
  header->resizeSection(3, 40);
  const int valueWidth = view.columnWidth(2);
  const QModelIndex longValue = findRow(model, [&](const app::TreeRow& row) {
    return row.parameter() != nullptr && row.parameter()->valueKind() == model::ValueKind::Enumeration;
  });
  ASSERT_TRUE(longValue.isValid());
  const QString wide(60, QChar('W'));
  model.rowAt(longValue)->parameter()->setRawValueText(wide.toStdString());
  view.collapseAll();
  view.selectRow(longValue);
  QCoreApplication::processEvents();
  EXPECT_GT(view.columnWidth(2), valueWidth);
  EXPECT_EQ(view.columnWidth(3), 40);
}

TEST(TreeModel, UnreadParametersShowNoDataInBlack) {
  FrameFixture fixture("/dev/null-no-port");
  ASSERT_NE(fixture.frame, nullptr);
  TreeModel& model = fixture.frame->treeModel();
  const QModelIndex found = findRow(model, [](const app::TreeRow& row) {
    return row.kind() == app::TreeRow::Kind::Parameter;
  });
  ASSERT_TRUE(found.isValid());
  EXPECT_EQ(found.siblingAtColumn(2).data().toString(), "Нет данных");
  EXPECT_EQ(found.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
}

TEST(TreeModel, KeepsTheItemModelContractWhileAReadFillsIt) {
  SimProcess sim;
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  TreeModel& model = fixture.frame->treeModel();
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  // Build a good part of the tree first, so that the read refreshes many visible rows.
  int fetched = 0;
  forEachRow(model, [&](const QModelIndex&) { ++fetched; });
  ASSERT_GT(fetched, 100);
  const int before = fetched;
  // Read the largest branch below the root (the whole device takes long under sanitizers).
  const QModelIndex root = model.index(0, 0);
  QModelIndex largest;
  int most = 0;
  for (int row = 0; row < model.rowCount(root); ++row) {
    const app::TreeRow* shown = model.rowAt(model.index(row, 0, root));
    if (shown->kind() != app::TreeRow::Kind::Branch) continue;
    const int count = shown->branch()->countParameters();
    if (count > most) {
      most = count;
      largest = model.index(row, 0, root);
    }
  }
  ASSERT_TRUE(largest.isValid());
  fixture.frame->view().setCurrentIndex(largest);
  fixture.frame->action(app::kCmdReadBranch)->trigger();
  EXPECT_GT(fixture.frame->lastOutcome().successes, 0);
  int after = 0;
  forEachRow(model, [&](const QModelIndex&) { ++after; });
  EXPECT_EQ(after, before);  // refreshed in place, never rebuilt
}

TEST(TreeModel, ExpandsEveryBranchOfTheFullModelQuickly) {
  FrameFixture fixture("/dev/null-no-port");
  ASSERT_NE(fixture.frame, nullptr);
  fixture.frame->resize(1000, 700);
  fixture.frame->show();
  TreeModel& model = fixture.frame->treeModel();
  CZELMOTTreeListView& view = fixture.frame->view();
  qint64 slowestNs = 0;
  int expansions = 0;
  std::function<void(const QModelIndex&)> expandAll = [&](const QModelIndex& parent) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
      const QModelIndex index = model.index(row, 0, parent);
      if (!model.hasChildren(index)) continue;
      QElapsedTimer clock;
      clock.start();
      view.expand(index);
      if (model.canFetchMore(index)) model.fetchMore(index);
      view.scrollTo(index);
      QCoreApplication::processEvents();
      slowestNs = std::max(slowestNs, clock.nsecsElapsed());
      ++expansions;
      expandAll(index);
    }
  };
  expandAll({});
  std::printf("[ timing ] %d branches expanded, slowest %.2f ms (limit 50 ms)\n", expansions,
              static_cast<double>(slowestNs) / 1e6);
  EXPECT_GT(expansions, 10);
}

}  // namespace
}  // namespace zelmot::ui::testing
