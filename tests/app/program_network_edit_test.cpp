// Editing the program's port settings as a whole.
#include "app/program_network_edit.h"

#include <gtest/gtest.h>

#include "app/edit_state.h"
#include "support/recording_prompt.h"
#include "model/net_rs485.h"

namespace zelmot::app {
namespace {

using test_support::RecordingPrompt;

TEST(ProgramNetworkDialogEdit, TakesEveryValidSettingWithoutQuestionWhenNothingIsLoaded) {
  model::NetRS485prg node;
  RecordingPrompt prompt;
  const ProgramNetworkResult result = applyProgramNetworkEdit(
      node, {{"Port", "/dev/ttyUSB0"}, {"bPS", "19200"}, {"Addr", "24"}}, false, &prompt);
  EXPECT_TRUE(result.accepted);
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(node.GetValueByName("Port"), "/dev/ttyUSB0");
  EXPECT_EQ(node.GetValueByName("bPS"), "19200");
  EXPECT_EQ(node.GetValueByName("Addr"), "24");
  EXPECT_TRUE(prompt.calls().empty());
  for (const model::Parameter* parameter : node.parameters()) EXPECT_FALSE(parameter->valueChanged());
}

TEST(ProgramNetworkDialogEdit, OneRefusalLeavesEverySettingAsItWas) {
  model::NetRS485prg node;
  RecordingPrompt prompt;
  const ProgramNetworkResult result =
      applyProgramNetworkEdit(node, {{"bPS", "19200"}, {"Addr", "20"}}, false, &prompt);
  EXPECT_FALSE(result.accepted);
  EXPECT_EQ(node.GetValueByName("bPS"), "9600");
  EXPECT_EQ(node.GetValueByName("Addr"), "16");
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].text, "Значение адреса должно быть кратно 8!");
}

TEST(ProgramNetworkDialogEdit, FrameFormatCheckedWithTheOtherNewValues) {
  model::NetRS485prg node;  // 8 data bits, 1 stop bit, no parity
  RecordingPrompt prompt;
  EXPECT_FALSE(applyProgramNetworkEdit(node, {{"LEn", "7"}}, false, &prompt).accepted);
  EXPECT_EQ(prompt.calls().back().text, "Заданные сетевые настройки не поддерживаются прибором!");
  EXPECT_EQ(node.GetValueByName("LEn"), "8");
  // 7E1 is fine although 7N1 is not: the parity changed in the same edit counts.
  EXPECT_TRUE(applyProgramNetworkEdit(node, {{"LEn", "7"}, {"PrtY", "Четность"}}, false, &prompt)
                  .accepted);
  EXPECT_EQ(node.GetValueByName("LEn"), "7");
  // Address and address length changed together.
  EXPECT_TRUE(applyProgramNetworkEdit(node, {{"A.Len", "11"}, {"Addr", "512"}}, false, &prompt)
                  .accepted);
}

TEST(ProgramNetworkDialogEdit, ResetQuestionOnceForAllChanges) {
  model::NetRS485prg node;
  RecordingPrompt prompt;
  prompt.answerQuestionsWith(PromptAnswer::Yes);
  const ProgramNetworkResult yes =
      applyProgramNetworkEdit(node, {{"bPS", "19200"}, {"Addr", "32"}}, true, &prompt);
  EXPECT_TRUE(yes.accepted);
  EXPECT_TRUE(yes.resetConfiguration);
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].text, kResetConfigurationQuestion);
  EXPECT_EQ(prompt.calls()[0].buttons, PromptButtons::YesNoCancel);

  prompt.answerQuestionsWith(PromptAnswer::Cancel);
  EXPECT_FALSE(applyProgramNetworkEdit(node, {{"bPS", "2400"}}, true, &prompt).accepted);
  EXPECT_EQ(node.GetValueByName("bPS"), "19200");

  prompt.answerQuestionsWith(PromptAnswer::No);
  const ProgramNetworkResult no = applyProgramNetworkEdit(node, {{"bPS", "2400"}}, true, &prompt);
  EXPECT_TRUE(no.accepted);
  EXPECT_FALSE(no.resetConfiguration);
  EXPECT_EQ(node.GetValueByName("bPS"), "2400");

  const size_t asked = prompt.calls().size();
  EXPECT_FALSE(applyProgramNetworkEdit(node, {{"bPS", "2400"}}, true, &prompt).changed);
  EXPECT_EQ(prompt.calls().size(), asked) << "nothing changed: nothing asked";
}

TEST(ProgramNetworkDialogEdit, PortTexts) {
  for (const char* good : {"COM1", "com9", "COM12", "COM255", "/dev/ttyUSB0", "/dev/serial/by-id/usb-x"}) {
    EXPECT_TRUE(acceptablePortText(good)) << good;
  }
  for (const char* bad : {"", "COM0", "COM256", "ttyUSB0", "/dev/", "/etc/passwd", "/dev/../etc/x"}) {
    EXPECT_FALSE(acceptablePortText(bad)) << bad;
  }
  model::NetRS485prg node;
  RecordingPrompt prompt;
  EXPECT_FALSE(applyProgramNetworkEdit(node, {{"Port", "/etc/passwd"}}, false, &prompt).accepted);
  EXPECT_EQ(node.GetValueByName("Port"), "COM1");
}

TEST(ProgramNetworkDialogEdit, PortChoicesAreTheComNamesThenExistingPorts) {
  const std::vector<std::string> choices =
      portChoices({{"/dev/ttyUSB0", "FTDI FT232R"}, {"/dev/ttyS0", ""}});
  ASSERT_EQ(choices.size(), 11u);
  EXPECT_EQ(choices.front(), "COM1");
  EXPECT_EQ(choices[8], "COM9");
  EXPECT_EQ(choices[9], "/dev/ttyUSB0");
  EXPECT_EQ(choices[10], "/dev/ttyS0");
}

}  // namespace
}  // namespace zelmot::app
