// Compare one parameter and the comparison results the engine collects.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "exchange/exchange_engine.h"
#include "scripted_transport.h"

namespace zelmot::exchange::testing {
namespace {

using ::testing::HasSubstr;

// A device with a fixed value, attributes sent only for the first element of each group, as
// the transaction does.
void deviceWith(ScriptedTransport& transport, std::string value, bool editable, bool factory) {
  transport.answer([=](bool, link::LinkParameter& p) {
    const int multiplicity = p.linkAttributeMultiplicity();
    if (multiplicity != 0 && p.linkLinearIndex() % multiplicity == 0) {
      p.setLinkAttributes(editable, factory);
    }
    p.setLinkErrorText("");
    p.setLinkValueText(value);
    return 0;
  });
}

class CompareTest : public ::testing::Test {
protected:
  ScriptedTransport transport;
  ExchangeEngine engine{transport};
  TestTree tree;
};

TEST_F(CompareTest, EqualValueAndAttributesIsNoDifferenceAndLeavesTheErrorAlone) {
  model::Parameter& parameter = tree.add(tree.root, "SP", "12.5", 0);
  parameter.setErrorText("старое");
  deviceWith(transport, "12.5", true, false);
  EXPECT_EQ(engine.compareOne(parameter), 0);
  EXPECT_EQ(engine.differenceCount(), 0);
  EXPECT_EQ(parameter.errorText(), "старое");
  EXPECT_EQ(parameter.valueText(), "12.5");
}

TEST_F(CompareTest, OwnerAttributeAloneIsADifference) {
  model::Parameter& parameter = tree.add(tree.root, "SP", "12.5", 0);
  parameter.setAttributeMultiplicity(1);
  deviceWith(transport, "12.5", true, true);
  engine.compareOne(parameter);
  EXPECT_EQ(engine.differenceCount(), 1);
  EXPECT_EQ(parameter.errorText(), "Знач-е в приборе: '12.5',Ред-ый,фирм.");
}

TEST_F(CompareTest, ElementsWithoutTheirOwnAttributesAreComparedByValueOnly) {
  // A factory-owned group of four: only element 4 receives the attributes.
  for (int index = 4; index < 8; ++index) {
    model::Parameter& element = tree.add(tree.root, "A.i.j", "1", index);
    element.setAttributeMultiplicity(4);
    element.setFactoryOwned(true);
  }
  deviceWith(transport, "1", true, true);
  const model::ExchangeCounts counts = tree.root.CompareAll(engine);
  EXPECT_EQ(counts.handled, 4);
  EXPECT_EQ(engine.differenceCount(), 0);
}

TEST_F(CompareTest, TwelveDifferencesAreCountedTenDescribedAndMarked) {
  for (int i = 0; i < 12; ++i) {
    model::Parameter& parameter = tree.add(tree.root, "P.Hi", "0", i);
    parameter.setCatalogueCaption("Предел");
    if (i == 0) parameter.setErrorText("было");
  }
  deviceWith(transport, "90", true, false);
  tree.root.CompareAll(engine);
  EXPECT_EQ(engine.differenceCount(), 12);
  const std::string text = engine.differenceText();
  EXPECT_THAT(text, HasSubstr("\n1) Параметер 'P.Hi (Предел) в конфигурации: значение=0,"));
  EXPECT_THAT(text, HasSubstr("\n10) Параметер 'P.Hi"));
  EXPECT_EQ(text.find("\n11) "), std::string::npos);
  EXPECT_EQ(tree.parameters[0]->errorText(), "Знач-е в приборе: '90',Ред-ый,польз.; было");
  EXPECT_EQ(tree.parameters[9]->errorText(), "Знач-е в приборе: '90',Ред-ый,польз.");
  EXPECT_EQ(tree.parameters[10]->errorText(), "");
  EXPECT_EQ(tree.parameters[11]->valueText(), "0");  // compare never changes values
}

TEST_F(CompareTest, CancelledCompareSendsNothing) {
  model::Parameter& parameter = tree.add(tree.root, "SP", "1");
  engine.cancelEvent().set();
  EXPECT_EQ(engine.compareOne(parameter), kResultCancelled);
  EXPECT_TRUE(transport.log.empty());
}

TEST_F(CompareTest, TheDeviceCopyReadsFromTheSameAddress) {
  model::Parameter& operative = tree.add(tree.root, "rEAd", "1");
  operative.setRequestIndex(3);
  int seenRequestIndex = -1;
  transport.answer([&](bool, link::LinkParameter& p) {
    seenRequestIndex = p.linkRequestIndex();
    p.setLinkValueText("1");
    return 0;
  });
  engine.compareOne(operative);
  EXPECT_EQ(seenRequestIndex, 3);
}

}  // namespace
}  // namespace zelmot::exchange::testing
