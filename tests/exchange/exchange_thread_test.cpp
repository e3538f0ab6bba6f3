#include "exchange/exchange_thread.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "recording_sinks.h"
#include "scripted_transport.h"

namespace zelmot::exchange::testing {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> readsOf(const ScriptedTransport& transport) {
  std::vector<std::string> names;
  for (const Exchange& exchange : transport.log) {
    if (exchange.read) names.push_back(exchange.name);
  }
  return names;
}

class ThreadTest : public ::testing::Test {
protected:
  ThreadTest() { engine.setProgressSink(&sink); }
  ScriptedTransport transport;
  RecordingSink sink;
  ExchangeEngine engine{transport};
  TestTree tree;
};

TEST_F(ThreadTest, PairWriteReReadsExactlyBothHalvesAtTheEnd) {
  model::DescBranch& channels = tree.child(tree.root, "Каналы");
  for (int i = 4; i < 10; ++i) tree.add(channels, "A.i.j", "0", i);
  tree.add(tree.root, "S.OD", "0");
  channels.parameters()[3]->setRawValueText("1");  // index 7
  channels.parameters()[3]->setValueChanged(true);
  ExchangeThread thread(engine, transport, nullptr);
  ASSERT_TRUE(thread.start(TaskCode::WriteChanged, &tree.root));
  const TaskOutcome outcome = thread.wait();
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.counts.handled, 1);
  ASSERT_EQ(transport.log.size(), 3u);
  EXPECT_FALSE(transport.log[0].read);
  EXPECT_THAT(readsOf(transport), ElementsAre("A.i.j", "A.i.j"));
  EXPECT_TRUE(sink.has("  Чтение: A.i.j:6 = 0"));
  EXPECT_TRUE(sink.has("  Чтение: A.i.j:7 = 1"));
  EXPECT_TRUE(sink.has("Принудительное перечитывание некоторых параметров"));
  const auto lines = sink.lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 2], "Задание выполнено. Окно будет закрыто автоматически.");
  EXPECT_EQ(lines.back(), "<finished>");
  EXPECT_TRUE(engine.reReadList().empty());
}

TEST_F(ThreadTest, ChangedOnlyWriteSkipsUnchangedAndReadOnlyParameters) {
  model::Parameter& changed = tree.add(tree.root, "a", "5");
  changed.setValueChanged(true);
  tree.add(tree.root, "b", "6");
  model::Parameter& locked = tree.add(tree.root, "c", "7");
  locked.setValueChanged(true);
  locked.setWritableHere(false);
  ExchangeThread thread(engine, transport, nullptr);
  ASSERT_TRUE(thread.start(TaskCode::WriteChanged, &tree.root));
  thread.wait();
  ASSERT_EQ(transport.log.size(), 1u);
  EXPECT_EQ(transport.log[0].name, "a");
}

TEST_F(ThreadTest, GroupWriteRunsTheListInOrderWithoutReReading) {
  model::Parameter& first = tree.add(tree.root, "n.rel", "1");
  model::Parameter& second = tree.add(tree.root, "S.OE", "2");
  ExchangeThread thread(engine, transport, nullptr);
  ASSERT_TRUE(thread.startGroupWrite({&second, &first}));
  const TaskOutcome outcome = thread.wait();
  EXPECT_EQ(outcome.counts.handled, 2);
  ASSERT_EQ(transport.log.size(), 2u);
  EXPECT_EQ(transport.log[0].name, "S.OE");
  EXPECT_EQ(transport.log[1].name, "n.rel");
}

TEST_F(ThreadTest, PortThatCannotOpenEndsTheTaskOnceAsNoLinkAndTheNextTaskRuns) {
  tree.add(tree.root, "a", "5");
  tree.add(tree.root, "b", "6");
  transport.openFailure = "Неудается открыть порт COM1 (/dev/ttyS0): Permission denied";
  ExchangeThread thread(engine, transport, nullptr);
  ASSERT_TRUE(thread.start(TaskCode::Read, &tree.root));
  const TaskOutcome failed = thread.wait();
  EXPECT_TRUE(failed.started);
  EXPECT_TRUE(failed.noLink());
  EXPECT_EQ(failed.portFailureText, transport.openFailure);
  EXPECT_EQ(failed.counts.handled, 0);
  EXPECT_TRUE(transport.log.empty());
  int said = 0;
  for (const std::string& line : sink.lines()) said += line == transport.openFailure ? 1 : 0;
  EXPECT_EQ(said, 1);

  transport.openFailure.clear();
  ASSERT_TRUE(thread.start(TaskCode::Read, &tree.root));
  const TaskOutcome read = thread.wait();
  EXPECT_FALSE(read.noLink());
  EXPECT_EQ(read.counts.handled, 2);
  EXPECT_EQ(transport.log.size(), 2u);
}

TEST_F(ThreadTest, CancelStopsAReadAtTheNextFailedReadAndIsReportedOnce) {
  for (int i = 0; i < 6; ++i) tree.add(tree.root, "p" + std::to_string(i));
  transport.answer([this](bool, link::LinkParameter& p) {
    // The user cancels during the second read, which then fails.
    if (transport.log.size() == 2) {
      engine.cancelEvent().set();
      p.setLinkErrorText("Потеря начала посылки.");
      return 1;
    }
    p.setLinkErrorText("");
    return 0;
  });
  ExchangeThread thread(engine, transport, nullptr);
  ASSERT_TRUE(thread.start(TaskCode::Read, &tree.root));
  const TaskOutcome outcome = thread.wait();
  EXPECT_EQ(transport.log.size(), 2u);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_FALSE(engine.cancelled());  // reset by the task finish for the next task
  EXPECT_EQ(outcome.errors, 1);
}

TEST_F(ThreadTest, OnlyOneTaskRunsAtATime) {
  tree.add(tree.root, "p");
  Event release(Event::Reset::Manual);
  transport.answer([&release](bool, link::LinkParameter& p) {
    release.wait(Event::kInfinite);
    p.setLinkErrorText("");
    return 0;
  });
  ExchangeThread thread(engine, transport, nullptr);
  ASSERT_TRUE(thread.start(TaskCode::Read, &tree.root));
  EXPECT_FALSE(thread.start(TaskCode::Compare, &tree.root));
  EXPECT_FALSE(thread.start(TaskCode::Read, nullptr));
  release.set();
  thread.wait();
  EXPECT_FALSE(thread.busy());
  EXPECT_TRUE(thread.start(TaskCode::Read, &tree.root)) << "the thread takes the next task";
  thread.wait();
}

// An ended thread refuses every start, so the refusals below show that it ended.
TEST_F(ThreadTest, StopEventEndsTheThreadAndLaterStartsAreRefusedWithoutHanging) {
  tree.add(tree.root, "p");
  Event stop(Event::Reset::Manual);
  ExchangeThread thread(engine, transport, &stop);
  stop.set();
  // The thread leaves its loop; starts made at any moment around that must not block wait().
  while (thread.start(TaskCode::Read, &tree.root)) thread.wait();
  EXPECT_FALSE(thread.start(TaskCode::Read, &tree.root));
  EXPECT_FALSE(thread.startGroupWrite({tree.parameters.front().get()}));
  EXPECT_FALSE(thread.busy());
  thread.wait();  // returns at once
}

}  // namespace
}  // namespace zelmot::exchange::testing
