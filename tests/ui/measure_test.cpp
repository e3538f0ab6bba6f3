// The window's measuring side against the simulator: the measurement tree with its boxes
// and period cells, polling while a bulk task runs, and reads on expand.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <algorithm>

#include "app/command_ids.h"
#include "app/measurement.h"
#include "app/protocol_archive.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/link_worker.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui::testing {
namespace {

constexpr int kNameColumn = static_cast<int>(app::Column::Name);
constexpr int kErrorColumn = static_cast<int>(app::Column::Errors);

long readsOf(const SimProcess& sim, const std::string& name) {
  const std::vector<std::string> names = sim.readNames();
  return std::count(names.begin(), names.end(), name);
}

// The first row of the measurement tree that shows `name`.
QModelIndex measurementRow(TreeModel& model, const std::string& name) {
  const QModelIndex tree = model.index(1, 0);
  return findRow(model, [&](const app::TreeRow& row) {
    return row.parameter() != nullptr && row.parameter()->name() == name;
  }, tree);
}

class MeasureTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NE(fixture.frame, nullptr); }
  CMainFrame& frame() { return *fixture.frame; }
  TreeModel& model() { return frame().treeModel(); }

  SimProcess sim{{"--baud", "115200"}};
  FrameFixture fixture{sim.slavePath()};
};

TEST_F(MeasureTest, BoxStartsAndStopsPollingAndTheRowFollowsTheReadings) {
  const QModelIndex tree = model().index(1, 0);
  EXPECT_EQ(model().rowAt(tree)->branch(), frame().document().deviceModel().measurementTree());
  const QModelIndex row = measurementRow(model(), "r.kEY");
  ASSERT_TRUE(row.isValid());
  model::Parameter* key = model().rowAt(row)->parameter();
  EXPECT_EQ(row.siblingAtColumn(kNameColumn).data().toString(), "1000");
  EXPECT_TRUE(model().flags(row) & Qt::ItemIsUserCheckable);
  EXPECT_EQ(row.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

  ASSERT_TRUE(model().setData(row, Qt::Checked, Qt::CheckStateRole));
  ASSERT_TRUE(waitUntil([&] { return key->timerArmed(); }));
  EXPECT_EQ(row.data(Qt::CheckStateRole).toInt(), Qt::Checked);
  ASSERT_TRUE(waitUntil([&] { return readsOf(sim, "r.kEY") >= 2; }));
  EXPECT_FALSE(key->hasNoData());

  ASSERT_TRUE(model().setData(row, Qt::Unchecked, Qt::CheckStateRole));
  ASSERT_TRUE(waitUntil([&] { return !key->timerArmed(); }));
  const long before = readsOf(sim, "r.kEY");
  QTest::qWait(1500);
  EXPECT_EQ(readsOf(sim, "r.kEY"), before);
}

TEST_F(MeasureTest, PeriodCellRefuses999AndTakes1000) {
  const QModelIndex row = measurementRow(model(), "rtC");
  ASSERT_TRUE(row.isValid());
  model::Parameter* clock = model().rowAt(row)->parameter();
  const QModelIndex cell = row.siblingAtColumn(kNameColumn);
  ASSERT_TRUE(model().flags(cell) & Qt::ItemIsEditable);
  ASSERT_TRUE(model().setData(cell, "999"));
  ASSERT_TRUE(waitUntil([&] { return fixture.prompt.count() == 1; }));
  const test_support::PromptCall refusal = fixture.prompt.calls().front();
  EXPECT_EQ(refusal.caption, app::kPollPeriodRefusedCaption);
  EXPECT_EQ(refusal.text, app::kPollPeriodRefusedText);
  EXPECT_EQ(cell.data().toString(), "1000");
  ASSERT_TRUE(model().setData(cell, "3000"));
  ASSERT_TRUE(waitUntil([&] { return clock->pollPeriod() == 3000; }));
  EXPECT_EQ(cell.data().toString(), "3000");
  ASSERT_TRUE(model().setData(cell, "1000"));
  ASSERT_TRUE(waitUntil([&] { return clock->pollPeriod() == 1000; }));
  EXPECT_EQ(fixture.prompt.count(), 1u);
}

TEST_F(MeasureTest, ArchiveFailureShowsInTheErrorColumnInRed) {
  const QModelIndex row = measurementRow(model(), "rEAd");
  ASSERT_TRUE(row.isValid());
  const model::Parameter* reading = model().rowAt(row)->parameter();
  model().notePolled(reading, true);
  EXPECT_EQ(row.siblingAtColumn(kErrorColumn).data().toString(), "Ошибка записи в файл");
  EXPECT_EQ(row.data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
  model().notePolled(reading, false);
  EXPECT_NE(row.siblingAtColumn(kErrorColumn).data().toString(), "Ошибка записи в файл");
  frame().setArchiveSwitch(true);
  ASSERT_NE(frame().protocolArchive(), nullptr);
  EXPECT_TRUE(frame().protocolArchive()->enabled());
  EXPECT_TRUE(model().archiveChecked());
}

TEST_F(MeasureTest, BulkTaskRunsWhilePollingAndPollingGoesOnAfterIt) {
  model::DescBranch* measurements = frame().document().deviceModel().measurementTree();
  std::vector<model::Parameter*> polled;
  measurements->CollectPolled(polled);
  ASSERT_GE(polled.size(), 40u);
  exchange::DeviceLink& link = frame().document().deviceLink();
  for (model::Parameter* parameter : polled) link.polling().start(*parameter);
  ASSERT_TRUE(waitUntil([&] { return link.polling().pollCount() >= polled.size(); }));

  model::DescBranch* root = frame().document().root();
  const exchange::TaskOutcome outcome = link.runTask(exchange::TaskCode::Read, root);
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.errors, 0);
  EXPECT_GT(outcome.counts.handled, 100);

  const uint64_t afterTask = link.polling().pollCount();
  ASSERT_TRUE(waitUntil([&] { return link.polling().pollCount() >= afterTask + polled.size(); }));
  link.polling().stopAll();
}

TEST_F(MeasureTest, ExpandingABranchReadsItsNeverReadParametersOnceAndNothingWithTheModeOff) {
  model::DescBranch* root = frame().document().root();
  // A branch of the device tree with parameters of its own.
  const QModelIndex index = findRow(model(), [](const app::TreeRow& row) {
    return row.kind() == app::TreeRow::Kind::Branch && row.branch() != nullptr &&
           row.branch()->parameters().size() >= 2;
  }, model().index(0, 0));
  ASSERT_TRUE(index.isValid());
  const model::DescBranch* branch = model().rowAt(index)->branch();
  ASSERT_NE(branch, root);
  // One parameter of the branch was read before and one failed: neither is read again.
  branch->parameters()[0]->setRawValueText("1");
  branch->parameters()[1]->setErrorText("Таймаут при передаче данных (нет связи)");
  model().fetchMore(index);
  std::vector<std::string> expected;
  for (const model::Parameter* parameter : app::expandReadList(*model().rowAt(index), true)) {
    expected.push_back(parameter->name());
  }
  ASSERT_FALSE(expected.empty());

  frame().action(app::kCmdAutoReading)->setChecked(false);
  frame().view().expand(index);
  QTest::qWait(300);
  EXPECT_TRUE(sim.readNames().empty());
  frame().view().collapse(index);

  frame().action(app::kCmdAutoReading)->setChecked(true);
  frame().view().expand(index);
  auto valueReads = [&] {
    std::vector<std::string> names = sim.readNames();
    std::erase(names, "M.s.t.r.");
    return names;
  };
  ASSERT_TRUE(waitUntil([&] {
    return valueReads().size() >= expected.size() && !frame().linkWorker().busy();
  }));
  EXPECT_FALSE(frame().readingNotice()->isVisible());
  EXPECT_EQ(valueReads(), expected);
  frame().view().collapse(index);
  frame().view().expand(index);
  QTest::qWait(300);
  EXPECT_EQ(valueReads(), expected);  // read once
}

}  // namespace
}  // namespace zelmot::ui::testing
