#include <gtest/gtest.h>

#include "model/desc_branch.h"
#include "model/object_with_parameters.h"
#include "support/recording_prompt.h"
#include "tree_support.h"

namespace zelmot::model {
namespace {

using testing::makeParameter;
using testing::RecordingExchanger;

using test_support::RecordingPrompt;

// A node over parameters the test keeps alive (as the catalogue does for branches).
struct Node {
  std::vector<std::unique_ptr<Parameter>> store;
  ObjectWithParameters node;

  Parameter& add(const std::string& name, int32_t linearIndex = -1,
                 const std::string& caption = {}) {
    store.push_back(makeParameter(name, linearIndex, caption));
    node.addParameter(store.back().get());
    return *store.back();
  }
};

TEST(TreeLinearIndex, ThirdOfThreeThreeFourIsSuspicious) {
  Node n;
  n.add("a", 3);
  n.add("b", 3);
  n.add("c", 4, "Третий");
  RecordingPrompt prompt;
  const LinearIndexCheck check = n.node.GetLinearIndex(&prompt);
  EXPECT_EQ(check.index, 3);
  EXPECT_EQ(check.suspicious, n.store[2].get());
  ASSERT_EQ(prompt.texts().size(), 1u);
  EXPECT_EQ(prompt.texts()[0], "Параметер 'c' (Третий) имеет подозрительный линейный индекс.");
  EXPECT_EQ(prompt.calls()[0].caption, "Предупреждение");
  EXPECT_EQ(n.node.currentLinearIndex(), 3);
}

TEST(TreeLinearIndex, UnindexedParametersDoNotCount) {
  Node n;
  n.add("plain");
  n.add("a", 5);
  n.add("other");
  n.add("b", 5);
  const LinearIndexCheck check = n.node.GetLinearIndex(nullptr);
  EXPECT_EQ(check.index, 5);
  EXPECT_EQ(check.suspicious, nullptr);
}

TEST(TreeLinearIndex, NoIndexedParameterLeavesItUnknown) {
  Node n;
  n.add("plain");
  EXPECT_EQ(n.node.GetLinearIndex(nullptr).index, -1);
  EXPECT_EQ(n.node.currentLinearIndex(), -1);
}

TEST(TreeLinearIndex, KnownIndexIsCheckedAgainstEveryParameter) {
  Node n;
  n.add("a", 2);
  n.node.SetLinearIndex(6);
  EXPECT_EQ(n.store[0]->linearIndex(), 6);
  n.add("late", 2);
  const LinearIndexCheck check = n.node.GetLinearIndex(nullptr);
  EXPECT_EQ(check.index, 6);
  EXPECT_EQ(check.suspicious, n.store[1].get());
}

TEST(TreeLinearIndex, SetLinearIndexLeavesUnindexedAlone) {
  Node n;
  Parameter& plain = n.add("plain");
  Parameter& indexed = n.add("a", 1);
  n.node.SetLinearIndex(9);
  EXPECT_EQ(plain.linearIndex(), 0);
  EXPECT_FALSE(plain.hasLinearIndex());
  EXPECT_EQ(indexed.linearIndex(), 9);
  EXPECT_EQ(n.node.currentLinearIndex(), 9);
}

struct SetByNameCase {
  const char* name;
  const char* text;
  bool mark;
  int result;
  bool changed;
};

class SetValueByName : public ::testing::TestWithParam<SetByNameCase> {};

TEST_P(SetValueByName, MarksOnlyRealChanges) {
  const SetByNameCase& c = GetParam();
  Node n;
  n.add("PrtY").setRawValueText("Отсутствует");
  n.add("bPS").setRawValueText("Abc");
  EXPECT_EQ(n.node.SetValueByName(c.name, c.text, c.mark), c.result);
  EXPECT_EQ(n.store[1]->valueChanged(), c.changed);
  if (c.result == 1) {
    EXPECT_EQ(n.store[1]->valueText(), c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SetValueByName,
                         ::testing::Values(SetByNameCase{"bPS", "aBC", true, 1, false},
                                           SetByNameCase{"BPS", "9600", true, 1, true},
                                           SetByNameCase{"bps", "9600", false, 1, false},
                                           SetByNameCase{"nope", "9600", true, 0, false}));

TEST(TreeValues, GetValueByNameIgnoresCaseAndTakesFirst) {
  Node n;
  n.add("Addr").setRawValueText("16");
  n.add("ADDR").setRawValueText("24");
  EXPECT_EQ(n.node.GetValueByName("aDdR"), "16");
  EXPECT_EQ(n.node.GetValueByName("missing"), "");
}

struct ProblemCase {
  const char* errorText;
  bool withMismatches;
  bool withoutMismatches;
};

class HasProblems : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(HasProblems, CountsRealErrorsAndMismatchesOnRequest) {
  const ProblemCase& c = GetParam();
  Node n;
  n.add("ok");
  n.add("p").setErrorText(c.errorText);
  EXPECT_EQ(n.node.HasProblems(true), c.withMismatches);
  EXPECT_EQ(n.node.HasProblems(false), c.withoutMismatches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HasProblems,
    ::testing::Values(
        ProblemCase{"", false, false},
        ProblemCase{"Значение не записанно, так как параметер не инициализирован", false, false},
        ProblemCase{"Знач-е в приборе: 4", true, false},
        ProblemCase{"Таймаут при передаче данных (нет связи)", true, true}));

TEST(TreeState, ChangesPendingAndNoData) {
  Node n;
  Parameter& a = n.add("a");
  Parameter& b = n.add("b");
  a.setRawValueText("1");
  b.setRawValueText("2");
  EXPECT_FALSE(n.node.HasNoData());
  EXPECT_EQ(n.node.PendingState(), 0);
  b.setOwnerAttributeChanged(true);
  EXPECT_EQ(n.node.PendingState(), 2);
  EXPECT_FALSE(n.node.HasChanges(false));
  EXPECT_TRUE(n.node.HasChanges(true));
  a.setValueChanged(true);
  EXPECT_TRUE(n.node.HasChanges(false));

  n.node.ResetValues();
  EXPECT_TRUE(n.node.HasNoData());
  EXPECT_EQ(n.node.PendingState(), 0);
  EXPECT_FALSE(n.node.HasChanges(true));
}

TEST(TreeOwnership, OwnerDeletesBranchOnlyForgets) {
  Parameter* slotOwned = nullptr;
  Parameter* slotShared = nullptr;
  auto shared = makeParameter("shared");
  shared->setTableSlot(&slotShared);
  slotShared = shared.get();
  {
    ObjectWithParameters owner(true);
    auto* owned = makeParameter("owned").release();
    owned->setTableSlot(&slotOwned);
    slotOwned = owned;
    owner.addParameter(owned);

    ObjectWithParameters referrer(false);
    referrer.addParameter(shared.get());
    referrer.DeleteParameters();
    EXPECT_TRUE(referrer.parameters().empty());
  }
  EXPECT_EQ(slotOwned, nullptr);         // deleted with its owner, slot cleared
  EXPECT_EQ(slotShared, shared.get());   // still alive
}

// --- bulk exchange loops -------------------------------------------------------------------

struct Tree {
  std::vector<std::unique_ptr<Parameter>> store;
  DescBranch root;

  Parameter& add(DescBranch& branch, const std::string& name) {
    store.push_back(makeParameter(name));
    branch.addParameter(store.back().get());
    return *store.back();
  }
  DescBranch& child(DescBranch& parent, const std::string& name) {
    auto branch = std::make_unique<DescBranch>();
    branch->setName(name);
    return *parent.addChild(std::move(branch));
  }
};

TEST(TreeExchange, ReadWalksOwnParametersThenChildren) {
  Tree t;
  t.root.setName("root");
  t.add(t.root, "r1");
  DescBranch& c1 = t.child(t.root, "c1");
  t.add(c1, "c1a");
  DescBranch& c2 = t.child(t.root, "c2");
  t.add(c2, "c2a");
  t.add(t.root, "r2");
  RecordingExchanger ex;
  ex.failing = {"c1a"};
  const ExchangeCounts counts = t.root.ReadAll(ex);
  EXPECT_EQ(ex.calls, (std::vector<std::string>{"read r1", "read r2", "read c1a", "read c2a"}));
  EXPECT_EQ(counts, (ExchangeCounts{4, 1}));
  EXPECT_EQ(ex.entered, (std::vector<std::string>{"root", "c1", "c2"}));
}

TEST(TreeExchange, CancelBeforeStartDoesNothing) {
  Tree t;
  t.add(t.root, "a");
  t.add(t.child(t.root, "c"), "b");
  RecordingExchanger ex;
  ex.cancelAfter = 0;
  EXPECT_EQ(t.root.ReadAll(ex), (ExchangeCounts{0, 0}));
  EXPECT_EQ(t.root.CompareAll(ex), (ExchangeCounts{0, 0}));
  EXPECT_EQ(t.root.WriteAll(ex, false), (ExchangeCounts{0, 0}));
  EXPECT_TRUE(ex.calls.empty());
}

TEST(TreeExchange, CancelStopsAfterCurrentParameterAcrossBranches) {
  Tree t;
  t.add(t.root, "a");
  t.add(t.root, "b");
  DescBranch& c = t.child(t.root, "c");
  t.add(c, "c1");
  t.add(c, "c2");
  for (size_t stopAfter : {1u, 2u, 3u}) {
    RecordingExchanger ex;
    ex.cancelAfter = stopAfter;
    const ExchangeCounts counts = t.root.CompareAll(ex);
    EXPECT_EQ(ex.calls.size(), stopAfter);
    EXPECT_EQ(counts.handled, static_cast<int>(stopAfter));
  }
}

TEST(TreeExchange, WriteSkipsUnwritableUnlessForced) {
  Tree t;
  t.add(t.root, "ok");
  t.add(t.root, "locked").setWritableHere(false);
  t.add(t.root, "readonly").setWritableByCatalogue(false);
  RecordingExchanger ex;
  EXPECT_EQ(t.root.WriteAll(ex, false), (ExchangeCounts{1, 0}));
  EXPECT_EQ(ex.calls, (std::vector<std::string>{"write ok all"}));

  RecordingExchanger forced;
  forced.forceAll = true;
  forced.failing = {"readonly"};
  EXPECT_EQ(t.root.WriteAll(forced, false), (ExchangeCounts{3, 1}));
}

TEST(TreeExchange, WriteChangedTakesAnyChangeFlagAndAnnouncesOnlyWrittenBranches) {
  Tree t;
  t.root.setName("root");
  t.add(t.root, "same");
  t.add(t.root, "value").setValueChanged(true);
  t.add(t.root, "owner").setOwnerAttributeChanged(true);
  DescBranch& quiet = t.child(t.root, "quiet");
  t.add(quiet, "untouched");
  RecordingExchanger ex;
  EXPECT_EQ(t.root.WriteAll(ex, true), (ExchangeCounts{2, 0}));
  EXPECT_EQ(ex.calls, (std::vector<std::string>{"write value changed", "write owner changed"}));
  EXPECT_EQ(ex.entered, (std::vector<std::string>{"root"}));
}

}  // namespace
}  // namespace zelmot::model
