#include "model/parameter.h"

#include <gtest/gtest.h>

#include "model/description_records.h"
#include "support/catalogue_records.h"

namespace zelmot::model {
namespace {

TEST(Parameter, NewParameterDefaults) {
  Parameter p;
  EXPECT_EQ(p.name(), "<неизвестный параметр>");
  EXPECT_EQ(p.valueText(), "Нет данных");
  EXPECT_TRUE(p.writableByCatalogue());
  EXPECT_TRUE(p.writableHere());
  EXPECT_TRUE(p.editable());
  EXPECT_FALSE(p.factoryOwned());
  EXPECT_EQ(p.pollPeriod(), 1000);
  EXPECT_FALSE(p.hasPollTimer());
  EXPECT_EQ(p.GetDescription(), "");
  EXPECT_TRUE(p.typeDescriptor().empty());
  EXPECT_EQ(p.rowColour(), kPlainColour);
}

TEST(Parameter, EmptyTreeCaptionLeavesCatalogueCaption) {
  Parameter p;
  p.setCatalogueCaption("Уставка");
  EXPECT_EQ(p.GetDescription(), "Уставка");
  p.setTreeCaption("Уставка канала 1");
  EXPECT_EQ(p.GetDescription(), "Уставка канала 1");
  p.setTreeCaption("");
  EXPECT_EQ(p.GetDescription(), "Уставка");
}

struct AttributeCase {
  int32_t multiplicity;
  int32_t linearIndex;
  bool editable;
  bool factory;
  const char* editText;
  const char* ownerText;
};

class AttributeDisplay : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(AttributeDisplay, ShowsGroupFirstElementOnly) {
  const AttributeCase& c = GetParam();
  Parameter p;
  p.setAttributeMultiplicity(c.multiplicity);
  p.setHasLinearIndex(true);
  p.setLinearIndex(c.linearIndex);
  p.setEditable(c.editable);
  p.setFactoryOwned(c.factory);
  EXPECT_EQ(p.editAttributeText(), c.editText);
  EXPECT_EQ(p.ownerAttributeText(), c.ownerText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AttributeDisplay,
    ::testing::Values(AttributeCase{0, 0, true, true, "", ""},
                      AttributeCase{0, 5, false, true, "", ""},
                      AttributeCase{4, 6, true, false, "см. выше", "см. выше"},
                      AttributeCase{4, 8, true, false, "Редактируемый", "Пользователь"},
                      AttributeCase{4, 8, false, true, "Не редактируемый", "Завод"},
                      AttributeCase{4, 0, true, true, "Редактируемый", "Завод"},
                      AttributeCase{1, 7, false, false, "Не редактируемый", "Пользователь"},
                      AttributeCase{-3, 1, true, true, "", ""}));

TEST(Parameter, DisplayNameAddsIndexOnlyWhenIndexedAndAsked) {
  Parameter p;
  p.setName("in-t");
  p.setLinearIndex(3);
  EXPECT_EQ(p.displayName(true), "in-t");
  p.setHasLinearIndex(true);
  EXPECT_EQ(p.displayName(false), "in-t");
  EXPECT_EQ(p.displayName(true), "in-t:3");
}

struct ColourCase {
  const char* errorText;
  bool valueChanged;
  bool ownerChanged;
  Rgb colour;
};

class RowColour : public ::testing::TestWithParam<ColourCase> {};

TEST_P(RowColour, FollowsErrorThenChanges) {
  const ColourCase& c = GetParam();
  Parameter p;
  p.setErrorText(c.errorText);
  p.setValueChanged(c.valueChanged);
  p.setOwnerAttributeChanged(c.ownerChanged);
  EXPECT_EQ(p.rowColour(), c.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowColour,
    ::testing::Values(
        ColourCase{"", false, false, kPlainColour}, ColourCase{"", true, false, kChangedColour},
        ColourCase{"", false, true, kChangedColour},
        ColourCase{"Таймаут при передаче данных (нет связи)", true, false, kErrorColour},
        ColourCase{"Знач-е в приборе: 12.000", false, false, kMismatchColour},
        ColourCase{"Значение не записанно, так как параметер не инициализирован", false, false,
                   kPlainColour},
        ColourCase{"Значение не записанно, так как параметер не инициализирован", true, false,
                   kChangedColour}));

CatalogueRecord sampleRecord() {
  using namespace test_support;
  CatalogueRecord r = attributed(
      limited(catalogueRecord("SP.1", "STORED_DOT", "12.5", 4), -10.0f, 99.5f, 1), 2, false, true);
  r.caption = "Уставка";
  r.flag = 1;
  r.hint = "?Значение_уставки";
  return r;
}

TEST(ParameterCatalogue, TakesEveryField) {
  Parameter p;
  p.setEditAttributeChanged(true);
  p.fillFromCatalogueRecord(sampleRecord());
  EXPECT_EQ(p.name(), "SP.1");
  EXPECT_EQ(p.GetDescription(), "Уставка");
  EXPECT_TRUE(p.hasLinearIndex());
  EXPECT_EQ(p.linearIndex(), 4);
  EXPECT_TRUE(p.writableByCatalogue());
  EXPECT_TRUE(p.catalogueFlag());
  EXPECT_EQ(p.attributeMultiplicity(), 2);
  EXPECT_FALSE(p.editable());
  EXPECT_TRUE(p.factoryOwned());
  EXPECT_EQ(p.typeDescriptor(), "STORED_DOT");
  EXPECT_EQ(p.decimals(), 1);
  EXPECT_DOUBLE_EQ(p.minimum(), -10.0);
  EXPECT_DOUBLE_EQ(p.maximum(), 99.5);
  EXPECT_EQ(p.valueText(), "12.5");
  EXPECT_EQ(p.hint(), "Значение уставки");
  EXPECT_TRUE(p.hintIsQuestion());
  EXPECT_TRUE(p.fromCatalogue());
  EXPECT_FALSE(p.editAttributeChanged());
}

struct IndexModeCase {
  int32_t stored;
  uint8_t indexMode;
  bool hasIndex;
  int32_t linearIndex;
};

class CatalogueIndexMode : public ::testing::TestWithParam<IndexModeCase> {};

TEST_P(CatalogueIndexMode, DecidesWhatMeansNoIndex) {
  const IndexModeCase& c = GetParam();
  CatalogueRecord r = sampleRecord();
  r.linearIndex = c.stored;
  r.indexMode = c.indexMode;
  Parameter p;
  p.fillFromCatalogueRecord(r);
  EXPECT_EQ(p.hasLinearIndex(), c.hasIndex);
  EXPECT_EQ(p.linearIndex(), c.linearIndex);
}

INSTANTIATE_TEST_SUITE_P(Cases, CatalogueIndexMode,
                         ::testing::Values(IndexModeCase{-5, 1, true, -5},
                                           IndexModeCase{-5, 0, false, 0},
                                           IndexModeCase{-1, 1, false, 0},
                                           IndexModeCase{-1, 0, false, 0},
                                           IndexModeCase{0, 0, true, 0},
                                           IndexModeCase{7, 1, true, 7}));

TEST(ParameterCatalogue, MultiplicityZeroKeepsDefaultAttributes) {
  CatalogueRecord r = sampleRecord();
  r.attributeMultiplicity = 0;
  r.editable = 0;
  r.factoryOwned = 1;
  Parameter p;
  p.fillFromCatalogueRecord(r);
  EXPECT_TRUE(p.editable());
  EXPECT_FALSE(p.factoryOwned());
}

TEST(ParameterCatalogue, ReadOnlyHintAndDefaults) {
  CatalogueRecord r = sampleRecord();
  r.readOnly = 1;
  r.hint = "Без_вопроса?";
  r.initialValue = "";
  r.valueChanged = 1;
  r.errorText = "Ошибка";
  Parameter p;
  p.fillFromCatalogueRecord(r);
  EXPECT_FALSE(p.writableByCatalogue());
  EXPECT_FALSE(p.isWritable());
  EXPECT_EQ(p.hint(), "Без вопроса?");
  EXPECT_FALSE(p.hintIsQuestion());
  EXPECT_EQ(p.valueText(), "Нет данных");
  EXPECT_TRUE(p.valueChanged());
  EXPECT_EQ(p.errorText(), "Ошибка");
}

TEST(ParameterPolling, PrepareMovesIndexIntoRequest) {
  Parameter indexed;
  indexed.setHasLinearIndex(true);
  indexed.setLinearIndex(5);
  indexed.PreparePolling();
  EXPECT_TRUE(indexed.hasPollTimer());
  EXPECT_EQ(indexed.requestIndex(), 5);
  EXPECT_FALSE(indexed.hasLinearIndex());

  Parameter plain;
  plain.setRequestIndex(9);
  plain.setLinearIndex(5);  // not marked as indexed
  plain.PreparePolling();
  EXPECT_EQ(plain.requestIndex(), 0);
}

TEST(ParameterPolling, StartNeedsTimerAndRunsOnce) {
  Parameter p;
  EXPECT_FALSE(p.StartPolling());
  p.PreparePolling();
  EXPECT_TRUE(p.StartPolling());
  EXPECT_FALSE(p.StartPolling());
  EXPECT_TRUE(p.timerArmed());
  p.StopPolling();
  EXPECT_FALSE(p.timerArmed());
}

TEST(ParameterReset, ResetValuesKeepsPlaceResetKeepsNothing) {
  Parameter p;
  p.fillFromCatalogueRecord(sampleRecord());
  p.setErrorText("x");
  p.setValueChanged(true);
  p.resetValues();
  EXPECT_EQ(p.valueText(), "Нет данных");
  EXPECT_EQ(p.errorText(), "");
  EXPECT_TRUE(p.editable());
  EXPECT_FALSE(p.factoryOwned());
  EXPECT_FALSE(p.anyChangeFlag());
  EXPECT_EQ(p.linearIndex(), 4);
  EXPECT_EQ(p.attributeMultiplicity(), 2);

  p.reset();
  EXPECT_FALSE(p.hasLinearIndex());
  EXPECT_EQ(p.linearIndex(), 0);
  EXPECT_EQ(p.attributeMultiplicity(), 0);
}

TEST(ParameterEdit, SetValueTextMarksChangedOnlyWhenAccepted) {
  Parameter p;
  p.setName("Addr");
  p.setTypeDescriptor("DEC_dot");
  p.setLimits(0, 255);
  p.setRawValueText("16");
  bool limits = false;
  EXPECT_EQ(p.SetValueText("300", limits), 0);
  EXPECT_TRUE(limits);
  EXPECT_EQ(p.valueText(), "16");
  EXPECT_FALSE(p.valueChanged());

  EXPECT_EQ(p.SetValueText("24"), 1);
  EXPECT_EQ(p.valueText(), "24");
  EXPECT_TRUE(p.valueChanged());
}

TEST(ParameterLink, AttributesFromDeviceClearOnlyAttributeFlags) {
  Parameter p;
  p.setValueChanged(true);
  p.setEditAttributeChanged(true);
  p.setOwnerAttributeChanged(true);
  link::LinkParameter& asLink = p;
  asLink.setLinkAttributes(false, true);
  EXPECT_FALSE(p.editable());
  EXPECT_TRUE(p.factoryOwned());
  EXPECT_TRUE(p.valueChanged());
  EXPECT_FALSE(p.editAttributeChanged());
  EXPECT_FALSE(p.ownerAttributeChanged());
  asLink.clearLinkChangeFlags();
  EXPECT_FALSE(p.valueChanged());
}

}  // namespace
}  // namespace zelmot::model
