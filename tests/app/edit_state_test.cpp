// Taking edits of the tree-list view: refusal texts, network settings, immediate write,
// the reset question and the attribute cells.
#include "app/edit_state.h"

#include <gtest/gtest.h>

#include "model/common_params.h"
#include "model/net_rs485.h"
#include "model/parameter.h"
#include "model/value_context.h"
#include "support/recording_prompt.h"

namespace zelmot::app {
namespace {

using test_support::RecordingPrompt;

model::Parameter& numeric(model::Parameter& p, const char* name, const char* type, double min,
                          double max) {
  p.setName(name);
  p.setCatalogueCaption("Уставка");
  p.setTypeDescriptor(type);
  p.setLimits(min, max);
  return p;
}

struct RefusalCase {
  const char* type;
  double min;
  double max;
  const char* typed;
  const char* expected;
};

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, NamesTheParameterTheTextAndTheRange) {
  const RefusalCase& c = GetParam();
  model::Parameter p;
  numeric(p, "Set.P", c.type, c.min, c.max);
  EXPECT_EQ(valueRefusalMessage(p, c.typed), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, RefusalTest,
    ::testing::Values(
        RefusalCase{"STORED_DOT", -10, 100.5, "200",
                    "Параметру 'Set.P' (Уставка)\nне может быть присвоено значение '200'.\n "
                    "(Значение этого параметра должно быть вещественным числом и\n должно быть "
                    "больше -10.000 и меньше 100.500)\n"},
        RefusalCase{"DEC_dot", 1, 250, "300",
                    "Параметру 'Set.P' (Уставка)\nне может быть присвоено значение '300'.\n "
                    "(Значение этого параметра должно быть целым числом и\n должно быть больше 1 "
                    "и меньше 250)\n"},
        RefusalCase{"CLK_frm", 0, 3600, "2:00:00",
                    "Параметру 'Set.P' (Уставка)\nне может быть присвоено значение '2:00:00'.\n "
                    "(Значение этого параметра должно быть целым числом и\n должно быть больше 0 "
                    "и меньше 3600)\n"},
        // Without limits the sentence still ends.
        RefusalCase{"STORED_DOT", 0, 0, "x",
                    "Параметру 'Set.P' (Уставка)\nне может быть присвоено значение 'x'.\n "
                    "(Значение этого параметра должно быть вещественным числом)\n"}));

class ValueEditTest : public ::testing::Test {
protected:
  ValueEditTest() {
    context.setPrompt(&prompt);
    numeric(parameter, "Set.P", "STORED_DOT", 0, 100).setContext(&context);
    parameter.setRawValueText("50.000");
    edit.prompt = &prompt;
  }
  RecordingPrompt prompt;
  model::ValueContext context;
  model::Parameter parameter;
  ValueEditContext edit;
};

TEST_F(ValueEditTest, OutOfRangeIsRefusedOnceAndTheOldTextStays) {
  const ValueEditResult result = takeValueEdit(parameter, "150", edit);
  EXPECT_EQ(result.verdict, EditVerdict::Refused);
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].caption, "Неудалось изменить параметр");
  EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Exclamation);
  EXPECT_EQ(prompt.calls()[0].text, valueRefusalMessage(parameter, "150"));
  EXPECT_EQ(parameter.valueText(), "50.000");
  EXPECT_FALSE(parameter.valueChanged());
}

TEST_F(ValueEditTest, AcceptedValueIsMarkedAndWrittenAtOnceOnlyInImmediateMode) {
  ValueEditResult result = takeValueEdit(parameter, "20", edit);
  EXPECT_EQ(result.verdict, EditVerdict::Accepted);
  EXPECT_FALSE(result.writeNow);
  EXPECT_EQ(parameter.valueText(), "20.000");
  EXPECT_TRUE(parameter.valueChanged());
  EXPECT_EQ(parameter.rowColour(), model::kChangedColour);
  edit.immediateWrite = true;
  result = takeValueEdit(parameter, "30", edit);
  EXPECT_TRUE(result.writeNow);
  EXPECT_TRUE(prompt.calls().empty());
}

TEST_F(ValueEditTest, UnchangedTextIsNotTaken) {
  const ValueEditResult result = takeValueEdit(parameter, "50.000", edit);
  EXPECT_EQ(result.verdict, EditVerdict::Unchanged);
  EXPECT_FALSE(parameter.valueChanged());
}

TEST(NetworkEdit, DeviceAddressMustBeAMultipleOfEight) {
  model::NetRS485 node;
  RecordingPrompt prompt;
  ValueEditContext edit;
  edit.networkNode = &node;
  edit.prompt = &prompt;
  model::Parameter* address = nullptr;
  for (model::Parameter* p : node.parameters()) {
    if (p->name() == "Addr") address = p;
  }
  ASSERT_NE(address, nullptr);
  EXPECT_EQ(takeValueEdit(*address, "12", edit).verdict, EditVerdict::Refused);
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].text, "Значение адреса должно быть кратно 8!");
  EXPECT_EQ(prompt.calls()[0].caption, "Неудалось изменить значение сетевого адреса");
  EXPECT_EQ(takeValueEdit(*address, "16", edit).verdict, EditVerdict::Accepted);
  EXPECT_EQ(address->valueText(), "16");
}

class ProgramNetworkEdit : public ::testing::Test {
protected:
  ProgramNetworkEdit() {
    edit.networkNode = &node;
    edit.programNetwork = true;
    edit.prompt = &prompt;
    for (model::Parameter* p : node.parameters()) {
      if (p->name() == "bPS") baud = p;
    }
  }
  model::NetRS485prg node;
  RecordingPrompt prompt;
  ValueEditContext edit;
  model::Parameter* baud = nullptr;
};

TEST_F(ProgramNetworkEdit, IsAppliedNotWrittenAndAsksToResetAFilledConfiguration) {
  ASSERT_NE(baud, nullptr);
  ValueEditResult result = takeValueEdit(*baud, "19200", edit);
  EXPECT_EQ(result.verdict, EditVerdict::Accepted);
  EXPECT_TRUE(result.portSettingsChanged);
  EXPECT_FALSE(result.writeNow);
  EXPECT_FALSE(baud->valueChanged());  // the program's own settings never wait to be written
  EXPECT_TRUE(prompt.calls().empty());

  edit.configurationLoaded = true;
  prompt.answerQuestionsWith(PromptAnswer::Yes);
  result = takeValueEdit(*baud, "38400", edit);
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].text, kResetConfigurationQuestion);
  EXPECT_EQ(prompt.calls()[0].buttons, PromptButtons::YesNoCancel);
  EXPECT_TRUE(result.resetConfiguration);

  prompt.answerQuestionsWith(PromptAnswer::No);
  result = takeValueEdit(*baud, "57600", edit);
  EXPECT_EQ(result.verdict, EditVerdict::Accepted);
  EXPECT_FALSE(result.resetConfiguration);

  prompt.answerQuestionsWith(PromptAnswer::Cancel);
  result = takeValueEdit(*baud, "115200", edit);
  EXPECT_EQ(result.verdict, EditVerdict::Refused);
  EXPECT_EQ(baud->valueText(), "57600");
}

TEST(AttributeEdit, OnlyTheFirstElementOfAGroupTakesIt) {
  model::Parameter first;
  first.setAttributeMultiplicity(4);
  first.setHasLinearIndex(true);
  first.setLinearIndex(8);
  model::Parameter later;
  later.setAttributeMultiplicity(4);
  later.setHasLinearIndex(true);
  later.setLinearIndex(6);
  model::Parameter none;

  EXPECT_TRUE(attributeEditable(first, Column::Owner));
  EXPECT_FALSE(attributeEditable(later, Column::Owner));
  EXPECT_FALSE(attributeEditable(none, Column::EditAttribute));
  EXPECT_FALSE(attributeEditable(first, Column::Value));
  EXPECT_FALSE(takeAttributeEdit(later, Column::EditAttribute, "Не редактируемый"));
  EXPECT_TRUE(later.editable());

  EXPECT_TRUE(takeAttributeEdit(first, Column::EditAttribute, "Не редактируемый"));
  EXPECT_FALSE(first.editable());
  EXPECT_TRUE(first.editAttributeChanged());
  EXPECT_FALSE(first.ownerAttributeChanged());
  EXPECT_TRUE(takeAttributeEdit(first, Column::Owner, "Завод"));
  EXPECT_TRUE(first.factoryOwned());
  EXPECT_EQ(first.rowColour(), model::kChangedColour);
}

TEST(EditChoices, EnumerationsAttributesAndTypedCells) {
  model::Parameter p;
  p.setTypeDescriptor("Выкл:Вкл:Авто_режим");
  p.setRawValueText("Вкл");
  EXPECT_EQ(editChoices(p, Column::Value),
            (std::vector<std::string>{"Выкл", "Вкл", "Авто режим"}));
  EXPECT_EQ(editChoices(p, Column::Owner), (std::vector<std::string>{"Завод", "Пользователь"}));
  // A value outside the list (a port named by its path) is offered first.
  p.setRawValueText("/dev/pts/3");
  EXPECT_EQ(editChoices(p, Column::Value).front(), "/dev/pts/3");
  p.setTypeDescriptor("STORED_DOT");
  EXPECT_TRUE(editChoices(p, Column::Value).empty());
  p.setName("rtC");
  EXPECT_FALSE(valueEditable(p));
}

}  // namespace
}  // namespace zelmot::app

namespace zelmot::app {
namespace {

// Rows that no write would ever send take no editor, so they never turn green.
TEST(NeverWritten, RowsThatCannotBeWrittenOpenNoEditor) {
  auto writableGroupHead = [](model::Parameter& p, const std::string& name,
                              const std::string& descriptor) {
    p.setName(name);
    p.setTypeDescriptor(descriptor);
    p.setAttributeMultiplicity(1);
  };
  model::Parameter setting;
  writableGroupHead(setting, "SP.Lo", "STORED_DOT");
  EXPECT_TRUE(valueEditable(setting));
  EXPECT_TRUE(attributeEditable(setting, Column::EditAttribute));

  setting.setWritableByCatalogue(false);
  EXPECT_FALSE(valueEditable(setting));
  EXPECT_FALSE(attributeEditable(setting, Column::EditAttribute));
  setting.setWritableByCatalogue(true);
  setting.setWritableHere(false);
  EXPECT_FALSE(valueEditable(setting));

  model::Parameter measured;
  writableGroupHead(measured, "r.oe", "STORED_DOT");
  EXPECT_FALSE(valueEditable(measured));
  EXPECT_FALSE(attributeEditable(measured, Column::Owner));

  model::Parameter version;
  writableGroupHead(version, "vEr", "ASCI");
  EXPECT_FALSE(valueEditable(version));
}

TEST(NeverWritten, TheProgramVersionRowTakesNoEditor) {
  model::CommonParams common;
  model::Parameter* version =
      common.addServiceParameter(model::kVersionParameterName, "Версия программы", "1.0", false);
  EXPECT_FALSE(valueEditable(*version));
}

}  // namespace
}  // namespace zelmot::app
