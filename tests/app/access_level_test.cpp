// The access level of the document: the program works at the full level, so attribute
// edits reach the device and the protection enumeration travels shifted. Checked on the
// line against the simulator serving the compiled model.
#include <gtest/gtest.h>

#include "app/edit_state.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "model/enumeration_codec.h"
#include "model/parameter.h"
#include "support/simulator_process.h"

namespace zelmot::app {
namespace {

using test_support::SimulatorProcess;

TEST(AccessLevel, DocumentStartsAndRestartsAtTheFullLevelWithAttributeWritesAllowed) {
  document::CZELMOTDoc doc;
  EXPECT_EQ(doc.accessLevel(), model::kMaximalAccessLevel);
  EXPECT_TRUE(doc.deviceLink().attributeWritePermission());
  doc.setAccessLevel(1);
  EXPECT_FALSE(doc.deviceLink().attributeWritePermission());
  doc.resetDocument();  // a new configuration
  EXPECT_EQ(doc.accessLevel(), model::kMaximalAccessLevel);
  EXPECT_TRUE(doc.deviceLink().attributeWritePermission());
}

class AccessLevelOnTheLine : public ::testing::Test {
protected:
  explicit AccessLevelOnTheLine(std::vector<std::string> simOptions = {"--factory-rights"})
      : sim(SimulatorProcess::servingTheModel(simOptions)) {}
  void SetUp() override {
    ASSERT_FALSE(sim.slavePath().empty()) << sim.output();
    ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR)) << "the compiled device model is missing";
    doc.programNetwork().SetValueByName("Port", sim.slavePath(), false);
    doc.deviceLink().load_port_settings();
    lock = doc.root()->FindParameter("LoCK", -1);
    ASSERT_NE(lock, nullptr);
    ASSERT_EQ(readLock(), link::ParameterResult::Ok) << lock->errorText();
    ASSERT_TRUE(lock->factoryOwned());
  }
  link::ParameterResult readLock() { return doc.deviceLink().exchange_parameter(1, *lock, nullptr); }
  // Makes the factory's group editable and the user's, and writes the parameter.
  int writeAttributeEdit() {
    EXPECT_TRUE(takeAttributeEdit(*lock, Column::EditAttribute, model::kEditableText));
    EXPECT_TRUE(takeAttributeEdit(*lock, Column::Owner, model::kUserText));
    doc.deviceLink().runGroupWrite({lock});
    return lock->errorText().empty() ? 0 : 1;
  }
  // The attributes the device holds, read into the parameter after it was told otherwise.
  void readBack() {
    lock->setEditable(false);
    lock->setFactoryOwned(true);
    ASSERT_EQ(readLock(), link::ParameterResult::Ok) << lock->errorText();
  }

  SimulatorProcess sim;
  document::CZELMOTDoc doc;
  model::Parameter* lock = nullptr;
};

TEST_F(AccessLevelOnTheLine, AttributeEditOfAFactoryGroupReachesTheDeviceAndReadsBack) {
  ASSERT_EQ(writeAttributeEdit(), 0) << lock->errorText();
  readBack();
  EXPECT_TRUE(lock->editable());
  EXPECT_FALSE(lock->factoryOwned());
}

TEST_F(AccessLevelOnTheLine, BelowTheFullLevelTheDevicesAttributesAreReadInsteadOfWritten) {
  doc.setAccessLevel(1);
  writeAttributeEdit();
  EXPECT_TRUE(lock->factoryOwned()) << "the device's attributes replaced the edit";
  readBack();
  EXPECT_TRUE(lock->factoryOwned());
}

TEST_F(AccessLevelOnTheLine, ProtectionSettingTravelsShiftedAndReadsBackAsChosen) {
  const char* choices[] = {"Не редактируемо,Блокировано", "Редактируемо,Блокировано",
                           "Не редактируемо,Разблокировано", "Редактируемо,Разблокировано"};
  for (const char* choice : choices) {
    lock->SetValueText(choice);
    doc.deviceLink().runGroupWrite({lock});
    EXPECT_EQ(lock->errorText(), "") << choice;
    lock->setRawValueText("Нет данных");
    ASSERT_EQ(readLock(), link::ParameterResult::Ok);
    EXPECT_EQ(lock->valueText(), choice);
  }
  const std::vector<std::string> sent = sim.writesOf("LoCK");
  EXPECT_EQ(sent, (std::vector<std::string>{"[AC]", "[AD]", "[AE]", "[AF]"}));
}

class AccessLevelWithoutFactoryRights : public AccessLevelOnTheLine {
protected:
  AccessLevelWithoutFactoryRights() : AccessLevelOnTheLine({}) {}
};

TEST_F(AccessLevelWithoutFactoryRights, DeviceRefusesTheAttributeEditAndSaysWhy) {
  EXPECT_EQ(writeAttributeEdit(), 1);
  EXPECT_EQ(lock->errorText(),
            "Несанкционированная попытка редактирования Атрибутов (попытка изменить атрибут "
            "пользователем, когда он не является хозяином параметра)");
  readBack();
  EXPECT_TRUE(lock->factoryOwned());
}

}  // namespace
}  // namespace zelmot::app
