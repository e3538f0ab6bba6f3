#include "exchange/exchange_engine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "exchange/tree_walk.h"
#include "recording_sinks.h"
#include "scripted_transport.h"

namespace zelmot::exchange::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class EngineTest : public ::testing::Test {
protected:
  EngineTest() {
    engine.setProgressSink(&sink);
    engine.setPrompt(&prompt);
    engine.beginTask(0);
  }

  // Reads fail with a time-out where the pattern has 'T' and succeed where it has '.'.
  void scriptReads(const std::string& pattern) {
    auto calls = std::make_shared<size_t>(0);
    transport.answer([pattern, calls](bool, link::LinkParameter& p) {
      const size_t call = (*calls)++;
      if (call < pattern.size() && pattern[call] == 'T') return timeOut(p);
      p.setLinkErrorText("");
      return 0;
    });
  }

  ScriptedTransport transport;
  RecordingSink sink;
  RecordingPrompt prompt;
  ExchangeEngine engine{transport};
  TestTree tree;
};

struct TimeoutCase {
  const char* pattern;
  int readsBeforeStop;  // -1: the loop runs to the end
};

class ReadTimeouts : public EngineTest, public ::testing::WithParamInterface<TimeoutCase> {};

TEST_P(ReadTimeouts, OnlyFiveInARowSuspendTheRead) {
  for (int i = 0; i < 12; ++i) tree.add(tree.root, "p" + std::to_string(i));
  scriptReads(GetParam().pattern);
  tree.root.ReadAll(engine);
  if (GetParam().readsBeforeStop < 0) {
    EXPECT_EQ(transport.log.size(), 12u);
    EXPECT_FALSE(engine.suspendedThisTask());
    EXPECT_TRUE(prompt.messages().empty());
  } else {
    EXPECT_EQ(static_cast<int>(transport.log.size()), GetParam().readsBeforeStop);
    EXPECT_TRUE(engine.suspendedThisTask());
    EXPECT_TRUE(engine.linkLost());
    EXPECT_TRUE(engine.cancelled());
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_THAT(prompt.messages()[0], HasSubstr("Предупреждение: Так как прошло 5 неудачных"));
    EXPECT_EQ(engine.consecutiveFailures(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Patterns, ReadTimeouts,
                         ::testing::Values(TimeoutCase{"TTTT.TTTT.TT", -1},
                                           TimeoutCase{"TTTTT", 5}, TimeoutCase{"..TTTTT", 7},
                                           TimeoutCase{"TTTT.TTTTT", 10}));

TEST_F(EngineTest, SuspensionSwitchesAutomaticReadingOffAndSaysSoBeforeTheWarning) {
  engine.setAutoReading(true);
  size_t messagesWhenSwitchedOff = 99;
  int hookCalls = 0;
  engine.setAutoReadingOffHook([&] {
    ++hookCalls;
    messagesWhenSwitchedOff = prompt.count();
  });
  for (int i = 0; i < 5; ++i) tree.add(tree.root, "p" + std::to_string(i));
  scriptReads("TTTTT");
  tree.root.ReadAll(engine);
  EXPECT_FALSE(engine.autoReading());
  EXPECT_EQ(hookCalls, 1);
  EXPECT_EQ(messagesWhenSwitchedOff, 0u) << "the menu must follow before the warning waits";
  // Already off: a second suspension has nothing to switch.
  engine.cancelEvent().reset();
  engine.beginTask(5);
  scriptReads("TTTTT");
  tree.root.ReadAll(engine);
  EXPECT_EQ(hookCalls, 1);
  ASSERT_EQ(prompt.messages().size(), 2u);
  EXPECT_THAT(prompt.messages()[0], HasSubstr("режим автоматического чтения параметров был отключен"));
}

TEST_F(EngineTest, ReadsThatFailOtherwiseResetTheCount) {
  for (int i = 0; i < 10; ++i) tree.add(tree.root, "p" + std::to_string(i));
  auto calls = std::make_shared<int>(0);
  transport.answer([calls](bool, link::LinkParameter& p) {
    // Every fourth read fails with a device error instead of a time-out.
    if (++*calls % 4 == 0) {
      p.setLinkErrorText("Не найден дескриптор");
      return 1;
    }
    return timeOut(p);
  });
  tree.root.ReadAll(engine);
  EXPECT_EQ(transport.log.size(), 10u);
  EXPECT_FALSE(engine.suspendedThisTask());
  EXPECT_EQ(engine.errorsThisTask(), 10);
  EXPECT_EQ(engine.timeoutsThisTask(), 8);
}

TEST_F(EngineTest, WriteFailuresCountOnlyTimeoutsAndNegativeResults) {
  for (int i = 0; i < 6; ++i) tree.add(tree.root, "w" + std::to_string(i), "7");
  transport.answer([](bool, link::LinkParameter& p) {
    p.setLinkErrorText("Попытка модификации ROM-параметра");
    return 1;
  });
  tree.root.WriteAll(engine, false);
  EXPECT_EQ(transport.log.size(), 6u);
  EXPECT_FALSE(engine.cancelled());
  EXPECT_FALSE(sink.has("Прошло 5 безуспешных попыток записи!"));

  transport.log.clear();
  transport.answer([](bool, link::LinkParameter& p) { return timeOut(p); });
  tree.root.WriteAll(engine, false);
  EXPECT_EQ(transport.log.size(), 5u);
  EXPECT_TRUE(engine.cancelled());
  EXPECT_TRUE(sink.has("Прошло 5 безуспешных попыток записи!"));
}

TEST_F(EngineTest, NoDataIsNeverSentAndNotCollectedAsAnError) {
  model::Parameter& empty = tree.add(tree.root, "Set.P", kNoDataText);
  model::Parameter& failed = tree.add(tree.root, "Pb", "3");
  failed.setErrorText("Таймаут при передаче данных (нет связи)");
  EXPECT_EQ(engine.writeOne(empty, true), kResultNoValue);
  EXPECT_TRUE(transport.log.empty());
  EXPECT_EQ(empty.errorText(), kNotInitialisedText);
  EXPECT_EQ(empty.valueText(), kNoDataText);
  EXPECT_THAT(collectErroneousParameters(tree.root), ElementsAre(&failed));
}

TEST_F(EngineTest, NegativeLinearIndexIsNeitherReadNorWritten) {
  model::Parameter& hidden = tree.add(tree.root, "x", "1", 0);
  hidden.setLinearIndex(-3);
  EXPECT_EQ(engine.readOne(hidden), kResultNotExchanged);
  EXPECT_EQ(engine.writeOne(hidden, true), kResultNotExchanged);
  EXPECT_EQ(engine.compareOne(hidden), kResultNotExchanged);
  EXPECT_TRUE(transport.log.empty());
  EXPECT_EQ(engine.differenceCount(), 0);
}

// A device holding `current` for the counter: reads answer it, writes store it.
void counterDevice(ScriptedTransport& transport, std::shared_ptr<std::string> current,
                   bool readFails = false) {
  transport.answer([current, readFails](bool read, link::LinkParameter& p) {
    if (read && readFails) return timeOut(p);
    p.setLinkErrorText("");
    if (read) {
      p.setLinkValueText(*current);
    } else {
      *current = p.linkValueText();
    }
    return 0;
  });
}

std::vector<std::string> writtenValues(const ScriptedTransport& transport) {
  std::vector<std::string> values;
  for (const Exchange& exchange : transport.log) {
    if (!exchange.read) values.push_back(exchange.value);
  }
  return values;
}

TEST_F(EngineTest, StructureCounterIsWalkedOneUnitAtATime) {
  model::Parameter& objects = tree.add(tree.root, "n.Obj", "5");
  counterDevice(transport, std::make_shared<std::string>("2"));
  EXPECT_EQ(engine.writeOne(objects, true), 0);
  EXPECT_THAT(writtenValues(transport), ElementsAre("3", "4", "5"));
  EXPECT_TRUE(sink.has("Прочитаем предварительно этот параметр"));
  EXPECT_EQ(engine.progressTotal(), 1);  // the preliminary read is counted

  transport.log.clear();
  model::Parameter& channels = tree.add(tree.root, "n.Ch", "1");
  counterDevice(transport, std::make_shared<std::string>("4"));
  EXPECT_EQ(engine.writeOne(channels, true), 0);
  EXPECT_THAT(writtenValues(transport), ElementsAre("3", "2", "1"));
}

TEST_F(EngineTest, StructureCounterAtItsTargetWritesNothing) {
  model::Parameter& objects = tree.add(tree.root, "n.Obj", "5");
  counterDevice(transport, std::make_shared<std::string>("5"));
  EXPECT_EQ(engine.writeOne(objects, true), 0);
  EXPECT_TRUE(writtenValues(transport).empty());
}

TEST_F(EngineTest, StructureCounterWithAFailedPreReadWritesOnlyTheTarget) {
  model::Parameter& objects = tree.add(tree.root, "n.Obj", "5");
  counterDevice(transport, std::make_shared<std::string>("2"), true);
  engine.writeOne(objects, true);
  EXPECT_THAT(writtenValues(transport), ElementsAre("5"));
}

TEST_F(EngineTest, StructureCounterWithoutValueIsRefusedWithoutTouchingTheDevice) {
  model::Parameter& objects = tree.add(tree.root, "n.Obj", kNoDataText);
  EXPECT_EQ(engine.writeOne(objects, true), kResultNoValue);
  EXPECT_TRUE(transport.log.empty());
}

TEST_F(EngineTest, WritesFillTheReReadListAndNetworkFlag) {
  model::Parameter& pair = tree.add(tree.root, "A.i.j", "1", 7);
  model::Parameter& baud = tree.add(tree.root, "bPS", "9600");
  engine.writeOne(pair, true);
  EXPECT_EQ(engine.reReadList(), "A.i.j:6 A.i.j:7 ");
  EXPECT_FALSE(engine.networkParametersWritten());
  engine.writeOne(baud, true);
  EXPECT_TRUE(engine.networkParametersWritten());
  EXPECT_TRUE(sink.has("  Запись: A.i.j:7 = 1 [новое значение]"));
}

}  // namespace
}  // namespace zelmot::exchange::testing
