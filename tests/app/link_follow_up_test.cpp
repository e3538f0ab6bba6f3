// Accepted edits and what they ask of the link afterwards, over a document of the
// compiled model. The port is never opened on a real line: it names a missing device.
#include "app/link_follow_up.h"

#include <gtest/gtest.h>

#include "app/task_controller.h"
#include "document/program_port_settings.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "model/net_rs485.h"
#include "model/parameter.h"
#include "platform/settings.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

class LinkFollowUpTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR)) << "the compiled device model is missing";
    setPoint = doc.root()->FindParameter("SP", 2);
    ASSERT_NE(setPoint, nullptr);
    doc.programNetwork().SetValueByName("Port", (dir.path() / "no-such-port").string(), false);
    for (model::Parameter* setting : doc.programNetwork().parameters()) {
      if (setting->name() == "bPS") baud = setting;
    }
    ASSERT_NE(baud, nullptr);
  }
  SubmittedEdit submit(model::Parameter& parameter, const std::string& text,
                       Column column = Column::Value) {
    return submitEdit(doc, parameter, column, text, configurationLoaded, immediateWrite, &prompt);
  }
  std::string storedBaud() const {
    model::NetRS485prg stored;
    document::loadProgramPortSettings(settings, stored);
    return stored.GetValueByName("bPS");
  }

  test_support::TempFolder dir;
  test_support::RecordingPrompt prompt;
  document::CZELMOTDoc doc{&prompt};
  Settings settings{dir.path() / "zelmot.ini"};
  int idleSteps = 0;
  TaskController tasks{{[](bool) {}, [this] { ++idleSteps; }}};
  std::vector<std::string> seen;
  LinkFollowUps followUps{doc, settings, tasks,
                          {[this] { seen.push_back("values"); }, [this] { seen.push_back("port"); },
                           [this](model::Parameter& p) { seen.push_back("write " + p.name()); }}};
  bool configurationLoaded = false;
  bool immediateWrite = false;
  model::Parameter* setPoint = nullptr;
  model::Parameter* baud = nullptr;
};

TEST_F(LinkFollowUpTest, PortSettingIsStoredAtOnceAndAppliedWhenTheRunningJobEnds) {
  const SubmittedEdit edit = submit(*baud, "19200");
  EXPECT_TRUE(edit.modified);
  EXPECT_TRUE(edit.followUp.portSettingsChanged);
  EXPECT_FALSE(edit.followUp.resetDocument);
  EXPECT_EQ(edit.followUp.writeNow, nullptr) << "the program's own settings are not written";

  tasks.jobStarted();
  followUps.take(edit.followUp);
  EXPECT_EQ(storedBaud(), "19200");
  EXPECT_TRUE(seen.empty()) << "the port is the running job's";
  tasks.jobEnded();
  tasks.idleStep();
  EXPECT_EQ(seen, std::vector<std::string>{"port"});
}

TEST_F(LinkFollowUpTest, ImmediateWriteAsksForTheValueAndARefusalAsksForNothing) {
  immediateWrite = true;
  SubmittedEdit edit = submit(*setPoint, "30");
  EXPECT_TRUE(edit.modified);
  EXPECT_EQ(edit.followUp.writeNow, setPoint);
  followUps.take(edit.followUp);
  EXPECT_EQ(seen, std::vector<std::string>{"write SP"});

  prompt.clear();
  edit = submit(*setPoint, "not a number");
  EXPECT_FALSE(edit.modified);
  EXPECT_TRUE(edit.followUp.empty());
  EXPECT_FALSE(prompt.calls().empty()) << "the refusal is told";

  edit = submit(*setPoint, "Не редактируемый", Column::EditAttribute);
  EXPECT_TRUE(edit.followUp.empty()) << "attributes are written with the next write";
}

TEST_F(LinkFollowUpTest, ResetAndReopenFromTheDialogRedrawTheTreeAndThePort) {
  setPoint->setRawValueText("12.5");
  const std::string entered = setPoint->valueText();
  tasks.jobStarted();
  followUps.take({.portSettingsChanged = true, .reopenPort = true, .resetDocument = true});
  EXPECT_EQ(setPoint->valueText(), entered) << "the values are the running job's";
  tasks.jobEnded();
  tasks.idleStep();
  EXPECT_EQ(setPoint->valueText(), "Нет данных");
  EXPECT_EQ(seen, (std::vector<std::string>{"values", "port"}));

  seen.clear();
  followUps.take({});
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(tasks.waitingSteps(), 0u) << "nothing asked: nothing waits";
}

}  // namespace
}  // namespace zelmot::app
