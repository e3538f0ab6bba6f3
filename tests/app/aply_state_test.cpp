// The APLY command's state: what the dialog shows and what it copies.
#include "app/aply_state.h"

#include <gtest/gtest.h>

#include "document/zelmot_doc.h"
#include "model/net_rs485.h"
#include "model/parameter.h"
#include "support/recording_prompt.h"

namespace zelmot::app {
namespace {

TEST(AplyState, DeviceValuesReplaceTheProgramsExceptThoseWithoutData) {
  model::NetRS485 device;  // every setting "Нет данных"
  device.SetValueByName("bPS", "19200", false);
  device.SetValueByName("Addr", "24", false);
  device.SetValueByName("PrtY", "Четность", false);
  model::NetRS485prg program;
  program.SetValueByName("Port", "COM4", false);
  EXPECT_EQ(AplyState::copyDeviceSettings(device, program), 3);
  EXPECT_EQ(program.GetValueByName("bPS"), "19200");
  EXPECT_EQ(program.GetValueByName("Addr"), "24");
  EXPECT_EQ(program.GetValueByName("PrtY"), "Четность");
  EXPECT_EQ(program.GetValueByName("LEn"), "8");    // unchanged: no data in the device node
  EXPECT_EQ(program.GetValueByName("A.Len"), "8");
  EXPECT_EQ(program.GetValueByName("Port"), "COM4");  // never the device's
}

TEST(AplyState, NewParametersTextListsTheSixSettings) {
  model::NetRS485 device;
  device.SetValueByName("bPS", "9600", false);
  device.SetValueByName("Addr", "32", false);
  EXPECT_EQ(AplyState::newParametersText(device),
            "Скорость обмена данными: 9600\nДлина слова данных: Нет данных\n"
            "Контроль по четности: Нет данных\nКоличество стоп-бит: Нет данных\n"
            "Длина сетевого адреса: Нет данных\nБазовый адрес прибора: 32");
}

TEST(AplyState, InitialChoicesOfTheDialog) {
  const AplyState state;
  EXPECT_TRUE(state.changeProgramSettings);
  EXPECT_FALSE(state.broadcast);
  EXPECT_TRUE(state.threeTimes);
}

TEST(AplyState, WhoSendsAfterNetworkParametersWereWritten) {
  EXPECT_EQ(aplyActionAfterNetworkWrite(false, false), AplyAction::Dialog);
  EXPECT_EQ(aplyActionAfterNetworkWrite(false, true), AplyAction::Dialog);
  EXPECT_EQ(aplyActionAfterNetworkWrite(true, true), AplyAction::Headless);
  EXPECT_EQ(aplyActionAfterNetworkWrite(true, false), AplyAction::None);
}

TEST(AplyState, TheMenuOpensTheDialogUnlessAplyCannotGo) {
  test_support::RecordingPrompt prompt;
  EXPECT_EQ(aplyActionFor(true, true, false, nullptr, prompt), AplyAction::None);
  ASSERT_EQ(prompt.calls().size(), 1u) << "the dialog was due: told why it does not open";
  EXPECT_EQ(prompt.calls()[0].text, kAplyNoLinkText);
  EXPECT_EQ(prompt.calls()[0].caption, kAplyCaption);
  prompt.clear();
  EXPECT_EQ(aplyActionFor(false, true, false, nullptr, prompt), AplyAction::None);
  EXPECT_EQ(aplyActionFor(true, true, true, nullptr, prompt), AplyAction::Headless);
  EXPECT_TRUE(prompt.calls().empty()) << "no dialog, no notice";
}

TEST(AplyState, InternalErrorsWithoutLinkOrDeviceNode) {
  EXPECT_EQ(AplyState::unavailableText(nullptr), kAplyNoLinkText);
  document::CZELMOTDoc empty;  // no description loaded: the device node has no settings
  EXPECT_EQ(AplyState::unavailableText(&empty), kAplyNoNodeText);
}

}  // namespace
}  // namespace zelmot::app
