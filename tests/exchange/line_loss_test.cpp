// A line that goes away during a task ends it once; values not reached stay as they were.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "exchange/exchange_engine.h"
#include "exchange/exchange_thread.h"
#include "link/exchange_retries.h"
#include "recording_sinks.h"
#include "scripted_transport.h"

namespace zelmot::exchange::testing {
namespace {

using ::testing::HasSubstr;

class LineLoss : public ::testing::Test {
protected:
  LineLoss() {
    engine.setProgressSink(&sink);
    engine.setPrompt(&prompt);
    for (int i = 0; i < 8; ++i) tree.add(tree.root, "p" + std::to_string(i), "10");
  }

  // The first `working` exchanges go well; then the port hangs up and every exchange
  // fails at once the way the protocol ends it.
  void hangUpAfter(size_t working) {
    transport.answer([this, working](bool, link::LinkParameter& p) {
      if (transport.log.size() <= working) {
        p.setLinkErrorText("");
        p.setLinkValueText("20");
        return 0;
      }
      transport.lossReason = "порт /dev/pts/9: Input/output error";
      p.setLinkErrorText(link::kLostStartText);
      return 1;
    });
  }

  ScriptedTransport transport;
  RecordingSink sink;
  RecordingPrompt prompt;
  ExchangeEngine engine{transport};
  TestTree tree;
};

TEST_F(LineLoss, ReadEndsAtTheFirstFailureWithOneMessageAndLeavesTheRestUntouched) {
  hangUpAfter(3);
  TaskOutcome outcome;
  {
    ExchangeThread thread(engine, transport, nullptr);
    ASSERT_TRUE(thread.start(TaskCode::Read, &tree.root));
    outcome = thread.wait();
  }
  EXPECT_EQ(transport.log.size(), 4u);
  ASSERT_EQ(prompt.texts().size(), 1u);
  EXPECT_THAT(prompt.texts()[0], HasSubstr("Связь с прибором потеряна (порт /dev/pts/9"));
  EXPECT_THAT(prompt.texts()[0], HasSubstr("Задание прервано"));
  EXPECT_TRUE(outcome.lineLost);
  EXPECT_TRUE(outcome.noLink());
  EXPECT_TRUE(outcome.cancelled);

  EXPECT_EQ(tree.parameters[2]->valueText(), "20");
  EXPECT_EQ(tree.parameters[3]->valueText(), "10");
  EXPECT_EQ(tree.parameters[3]->errorText(), kLinkLostText);
  for (size_t i = 4; i < tree.parameters.size(); ++i) {
    EXPECT_EQ(tree.parameters[i]->valueText(), "10");
    EXPECT_EQ(tree.parameters[i]->errorText(), "");
  }
}

TEST_F(LineLoss, WriteEndsTheSameWayAndKeepsTheUnwrittenChanges) {
  for (auto& parameter : tree.parameters) parameter->setValueChanged(true);
  hangUpAfter(1);
  tree.root.WriteAll(engine, true);
  EXPECT_EQ(transport.log.size(), 2u);
  EXPECT_EQ(prompt.texts().size(), 1u);
  EXPECT_TRUE(engine.lineLostThisTask());
  EXPECT_TRUE(tree.parameters[1]->valueChanged());
  EXPECT_TRUE(tree.parameters[7]->valueChanged());
}

TEST_F(LineLoss, WritesThatStopBeingAnsweredEndTheTaskAsALostLink) {
  auto calls = std::make_shared<int>(0);
  transport.answer([calls](bool, link::LinkParameter& p) {
    if ((*calls)++ < 2) {
      p.setLinkErrorText("");
      return 0;
    }
    return timeOut(p);
  });
  tree.root.WriteAll(engine, false);
  EXPECT_EQ(transport.log.size(), 7u);  // two answered, then five time-outs
  ASSERT_EQ(prompt.texts().size(), 1u);
  EXPECT_THAT(prompt.texts()[0], HasSubstr("прибор перестал отвечать на запись"));
  EXPECT_TRUE(engine.lineLostThisTask());
  EXPECT_TRUE(sink.has(kFiveWriteFailuresText));
}

TEST_F(LineLoss, CommandLineRunsKeepTheMessageToTheLog) {
  engine.setSuppressWarnings(true);
  hangUpAfter(0);
  tree.root.ReadAll(engine);
  EXPECT_TRUE(prompt.texts().empty());
  EXPECT_EQ(transport.log.size(), 1u);
}

}  // namespace
}  // namespace zelmot::exchange::testing
