// The measuring side of the window: reads on expand, the poll period cell, the immediate
// write's result and the rows of the measurement tree.
#include "app/measurement.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/tree_rows.h"
#include "exchange/exchange_engine.h"
#include "exchange/exchange_texts.h"
#include "exchange/poll_scheduler.h"
#include "model/common_params.h"
#include "model/desc_branch.h"
#include "support/recording_prompt.h"

namespace zelmot::app {
namespace {

// Reads answer "7" or time out; every exchange is counted by name.
class Device final : public exchange::ParameterTransport {
public:
  int exchangeParameter(bool read, link::LinkParameter& parameter) override {
    names.push_back(parameter.linkName());
    if (!read) return 0;
    if (silent) {
      parameter.setLinkErrorText(exchange::kTimeoutText);
      return 1;
    }
    parameter.setLinkValueText("7");
    return 0;
  }
  bool silent = false;
  std::vector<std::string> names;
};

class MeasurementTest : public ::testing::Test {
protected:
  model::Parameter* add(model::DescBranch& branch, const std::string& name) {
    auto p = std::make_unique<model::Parameter>();
    p->setName(name);
    p->setTypeDescriptor("DEC_dot");
    branch.addParameter(p.get());
    owned.push_back(std::move(p));
    return owned.back().get();
  }
  // The built rows under the main tree's top row.
  TreeRow& mainRow() {
    rows.reset(&root, {}, &measurements);
    TreeRow& top = *rows.top().child(0);
    rows.ensureChildren(top, options);
    return top;
  }

  std::vector<std::unique_ptr<model::Parameter>> owned;
  model::DescBranch root;
  model::DescBranch measurements;
  TreeRows rows;
  ViewOptions options;
  Device device;
  exchange::ExchangeEngine engine{device};
};

TEST_F(MeasurementTest, ExpandReadsExactlyTheNeverReadErrorFreeParameters) {
  model::Parameter* fresh = add(root, "A.1");
  add(root, "A.2")->setRawValueText("5");
  add(root, "A.3")->setErrorText(exchange::kTimeoutText);
  model::Parameter* polled = add(root, "rEAd");
  polled->PreparePolling();
  add(root, kArchiveNodeName);
  model::Parameter* second = add(root, "A.4");
  TreeRow& top = mainRow();

  EXPECT_TRUE(expandReadList(top, false).empty());
  EXPECT_EQ(readOnExpand(engine, fresh, true), kExpandNothingToDo);  // the mode is off
  EXPECT_TRUE(device.names.empty());

  engine.setAutoReading(true);
  const std::vector<model::Parameter*> list = expandReadList(top, true);
  ASSERT_EQ(list, (std::vector<model::Parameter*>{fresh, second}));
  int notices = 0;
  EXPECT_EQ(readExpanded(engine, list, [&] { ++notices; }, {}), 2);
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(device.names, (std::vector<std::string>{"A.1", "A.4"}));
  EXPECT_EQ(fresh->valueText(), "7");
  // Read once: a second expansion finds nothing left to read.
  EXPECT_TRUE(expandReadList(top, true).empty());
}

TEST_F(MeasurementTest, ReadOnExpandResultCodes) {
  engine.setAutoReading(true);
  model::Parameter* fresh = add(root, "A.1");
  EXPECT_EQ(readOnExpand(engine, nullptr, true), kExpandNoParameter);
  EXPECT_EQ(readOnExpand(engine, fresh, false), kExpandNoTree);
  EXPECT_EQ(readOnExpand(engine, fresh, true), 0);
  EXPECT_EQ(readOnExpand(engine, fresh, true), kExpandNothingToDo);
}

TEST_F(MeasurementTest, FifthTimeOutSwitchesAutomaticReadingOffAndEndsTheWalk) {
  for (int i = 0; i < 8; ++i) add(root, "A." + std::to_string(i));
  TreeRow& top = mainRow();
  engine.setAutoReading(true);
  int menuFollowed = 0;
  engine.setAutoReadingOffHook([&] { ++menuFollowed; });
  device.silent = true;
  EXPECT_EQ(readExpanded(engine, expandReadList(top, true), {}, {}), 5);
  EXPECT_EQ(device.names.size(), 5u);
  EXPECT_FALSE(engine.autoReading());
  EXPECT_EQ(menuFollowed, 1);
}

TEST_F(MeasurementTest, ImmediateWriteResults) {
  model::Parameter* parameter = add(root, "A.1");
  parameter->setRawValueText("3");
  EXPECT_EQ(immediateWrite(engine, *parameter, true), kWritePending);  // unchanged
  parameter->setValueChanged(true);
  EXPECT_EQ(immediateWrite(engine, *parameter, false), kWritePending);  // mode off
  EXPECT_TRUE(device.names.empty());
  EXPECT_EQ(immediateWrite(engine, *parameter, true), 0);
  EXPECT_EQ(device.names, std::vector<std::string>{"A.1"});
}

TEST_F(MeasurementTest, PeriodCellTakesWholeMillisecondsFromOneSecondOn) {
  exchange::PollScheduler polling(device, nullptr);
  test_support::RecordingPrompt prompt;
  model::Parameter* parameter = add(measurements, "rEAd");
  parameter->PreparePolling();
  for (const char* refused : {"999", "", "abc", "1500x", "-2000", "99999999999"}) {
    EXPECT_FALSE(takePollPeriodEdit(polling, *parameter, refused, prompt)) << refused;
  }
  EXPECT_EQ(parameter->pollPeriod(), 1000);
  ASSERT_EQ(prompt.count(), 6u);
  const test_support::PromptCall call = prompt.calls().front();
  EXPECT_EQ(call.text, kPollPeriodRefusedText);
  EXPECT_EQ(call.caption, "Неудалось изменить период опроса");
  EXPECT_EQ(call.icon, PromptIcon::Stop);
  EXPECT_TRUE(takePollPeriodEdit(polling, *parameter, " 2000 ", prompt));
  EXPECT_EQ(parameter->pollPeriod(), 2000);
  EXPECT_TRUE(takePollPeriodEdit(polling, *parameter, "1000", prompt));
  EXPECT_EQ(parameter->pollPeriod(), 1000);
  EXPECT_EQ(prompt.count(), 6u);
}

TEST_F(MeasurementTest, MeasurementTreeIsTheSecondTreeWithPeriodsAndCheckBoxes) {
  add(root, "A.1");
  model::Parameter* polled = add(measurements, "rEAd");
  polled->PreparePolling();
  polled->setPollPeriod(2500);
  model::CommonParams common;
  rows.reset(&root, {&common}, &measurements);
  ASSERT_EQ(rows.top().childCount(), 3u);
  TreeRow& second = *rows.top().child(1);
  EXPECT_EQ(second.branch(), &measurements);
  rows.ensureChildren(second, options);
  const TreeRow& row = *second.child(0);
  EXPECT_EQ(row.text(Column::Name, options), "2500");
  EXPECT_TRUE(rowHasCheckBox(row));
  TreeRow& first = *rows.top().child(0);
  rows.ensureChildren(first, options);
  EXPECT_FALSE(rowHasCheckBox(*first.child(0)));
  EXPECT_EQ(first.child(0)->text(Column::Name, options), "A.1");
}

}  // namespace
}  // namespace zelmot::app
