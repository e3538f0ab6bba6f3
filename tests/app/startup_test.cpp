// Start-up steps that need no window: folders, settings, registration, converter, link.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/recording_prompt.h"
#include "support/temp_folder.h"
#include "document/zelmot_doc.h"
#include "link/serial_port.h"
#include "model/net_rs485.h"
#include "platform/settings.h"

namespace zelmot::app {
namespace {

using test_support::RecordingPrompt;
using ScratchDir = test_support::TempFolder;

class Startup : public ::testing::Test {
protected:
  ScratchDir dir;
  Settings settings{dir.path() / "zelmot.ini"};

  std::filesystem::path makeProgram(const std::string& name) {
    const auto path = dir.path() / name;
    std::ofstream(path) << "#!/bin/sh\n";
    return path;
  }
};

TEST_F(Startup, WorkingFoldersAreCreatedBelowTheHome) {
  std::string error;
  ASSERT_TRUE(createWorkingFolders(dir.path() / "home", error)) << error;
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "home" / "protocol"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "home" / "temp"));
  std::ofstream(dir.path() / "file") << "x";
  EXPECT_FALSE(createWorkingFolders(dir.path() / "file", error));
  EXPECT_FALSE(error.empty());
}

TEST_F(Startup, ModeChoicesAreStoredAndDecideTheInitialMarks) {
  storeModeChoices(settings, parseCommandLine({"/autowrite:on/autoread:off"}));
  std::uint32_t value = 9;
  ASSERT_EQ(settings.readInt(kModeSettingsKey, kImmediateWriteValue, value), SettingsStatus::Ok);
  EXPECT_EQ(value, 1u);
  ASSERT_EQ(settings.readInt(kModeSettingsKey, kAutoReadValue, value), SettingsStatus::Ok);
  EXPECT_EQ(value, 0u);

  // Automatic reading starts checked whatever is stored, except with silent/newnetparam.
  EXPECT_TRUE(initialModes(settings, parseCommandLine({})).autoReading);
  EXPECT_TRUE(initialModes(settings, parseCommandLine({})).immediateWrite);
  EXPECT_FALSE(initialModes(settings, parseCommandLine({"/newnetparam"})).autoReading);
  storeModeChoices(settings, parseCommandLine({"/silent"}));
  const InitialModes silent = initialModes(settings, parseCommandLine({"/silent"}));
  EXPECT_FALSE(silent.autoReading);
  EXPECT_FALSE(silent.immediateWrite);
}

TEST_F(Startup, CommandLineNetworkReachesTheProgramSettings) {
  model::NetRS485prg node;
  applyCommandLineNetwork(parseCommandLine({"/port:3/bps:19200/prty:even/addr:24/len:7/sbit:2/alen:11"}),
                          node);
  EXPECT_EQ(node.GetValueByName("Port"), "COM3");
  EXPECT_EQ(node.GetValueByName("bPS"), "19200");
  EXPECT_EQ(node.GetValueByName("PrtY"), "Четность");
  EXPECT_EQ(node.GetValueByName("Addr"), "24");
  EXPECT_EQ(node.GetValueByName("LEn"), "7");
  EXPECT_EQ(node.GetValueByName("Sbit"), "2");
  EXPECT_EQ(node.GetValueByName("A.Len"), "11");

  model::NetRS485prg untouched;
  applyCommandLineNetwork(parseCommandLine({"/port:3/bps:19200/prty:none"}), untouched);
  EXPECT_EQ(untouched.GetValueByName("Port"), "COM1");
  EXPECT_EQ(untouched.GetValueByName("bPS"), "9600");
}

TEST_F(Startup, RegistrationAsksOnlyAboutAnotherExistingProgram) {
  const auto own = makeProgram("zelmot");
  const auto other = makeProgram("other");
  RecordingPrompt prompt;

  registerApplication(settings, own, &prompt, false);  // nothing stored yet: filled in
  std::string stored;
  settings.readString(kDevicesKey, kApplicationValue, stored);
  EXPECT_EQ(stored, "\"" + own.string() + "\"");
  settings.readString(kDevicesKey, kDescriptionValue, stored);
  EXPECT_EQ(stored, "ZELMOT");
  EXPECT_TRUE(prompt.calls().empty());

  settings.writeString(kDevicesKey, kApplicationValue, "\"" + other.string() + "\"");
  prompt.answerQuestionsWith(PromptAnswer::No);
  registerApplication(settings, own, &prompt, false);
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].text, severalConfiguratorsQuestion(own.string(), other.string()));
  EXPECT_EQ(prompt.calls()[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Question);
  settings.readString(kDevicesKey, kApplicationValue, stored);
  EXPECT_EQ(stored, "\"" + other.string() + "\"");

  registerApplication(settings, own, &prompt, true);  // an unattended run never asks
  EXPECT_EQ(prompt.calls().size(), 1u);

  prompt.answerQuestionsWith(PromptAnswer::Yes);
  registerApplication(settings, own, &prompt, false);
  settings.readString(kDevicesKey, kApplicationValue, stored);
  EXPECT_EQ(stored, "\"" + own.string() + "\"");

  settings.writeString(kDevicesKey, kApplicationValue, "\"/nonexistent/zelmot\"");
  registerApplication(settings, own, &prompt, false);  // a stale reference: no question
  EXPECT_EQ(prompt.calls().size(), 2u);
}

TEST_F(Startup, QuestionText) {
  EXPECT_EQ(severalConfiguratorsQuestion("/a/zelmot", "/b/zelmot"),
            "Вероятно, на вашем компьютере установлено несколько конфигураторов этого прибора,\n"
            "что не рекомендуется, но допускается.\n\nУстановить запущенный конфигуратор "
            "(\"/a/zelmot\")\nкак основной или оставить ссылку на конфигуратор прибора ZELMOT как "
            "она сейчас есть\n(\"/b/zelmot\")?");
}

TEST_F(Startup, ConverterFromTheCommandLineBeforeTheStoredType) {
  EXPECT_EQ(converterModeFor(parseCommandLine({}), settings), link::ConverterMode::SemiAutomatic);
  storeConverterMode(settings, link::ConverterMode::Automatic);  // as the menu does
  std::uint32_t stored = 0;
  settings.readInt("Software/Kavrel/ZELMOT", kConverterValue, stored);
  EXPECT_EQ(stored, 1u);
  EXPECT_EQ(converterModeFor(parseCommandLine({}), settings), link::ConverterMode::Automatic);
  EXPECT_EQ(converterModeFor(parseCommandLine({"/rs485:on"}), settings), link::ConverterMode::SemiAutomatic);
  settings.writeInt("Software/Kavrel/ZELMOT", kConverterValue, 0);
  EXPECT_EQ(converterModeFor(parseCommandLine({"/rs485:auto"}), settings), link::ConverterMode::Automatic);
  EXPECT_EQ(converterModeFor(parseCommandLine({"/rs485:off"}), settings), link::ConverterMode::Automatic);
}

TEST_F(Startup, UnattendedRunWithoutPortHasNoExchange) {
  document::CZELMOTDoc doc;
  std::string error;
  const std::string log = (dir.path() / "errors.log").string();
  { std::ofstream(log) << "old"; }
  ASSERT_TRUE(configureDocument(parseCommandLine({"/read/elog:\"" + log + "\""}), settings, doc, error)) << error;
  EXPECT_TRUE(doc.deviceLink().noDeviceExchange());
  EXPECT_TRUE(doc.deviceLink().keepPortClosed());
  EXPECT_TRUE(doc.deviceLink().suppressMessages());
  EXPECT_EQ(doc.deviceLink().engine().errorLogPath(), log);
  EXPECT_EQ(std::filesystem::file_size(log), 0u);  // truncated

  document::CZELMOTDoc interactive;
  ASSERT_TRUE(configureDocument(parseCommandLine({}), settings, interactive, error));
  EXPECT_FALSE(interactive.deviceLink().noDeviceExchange());
  EXPECT_FALSE(interactive.deviceLink().suppressMessages());

  document::CZELMOTDoc refused;
  EXPECT_FALSE(configureDocument(parseCommandLine({"/port:1/elog:\"" + (dir.path() / "no" / "x").string() + "\""}),
                                 settings, refused, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace zelmot::app

namespace zelmot::app {
namespace {

TEST_F(Startup, DocumentStartsWithTheGivenPortAndTheCommandLinesModes) {
  RecordingPrompt prompt;
  document::CZELMOTDoc doc{&prompt};
  std::string error;
  const std::string port = (dir.path() / "no-such-port").string();
  const std::optional<InitialModes> modes =
      startDocument(parseCommandLine({"/silent"}), {ZELMOT_BIN_DIR, port, (dir.path() / "home").string()},
                    settings, doc, &prompt, error);
  ASSERT_TRUE(modes) << error;
  ASSERT_NE(doc.root(), nullptr);
  EXPECT_FALSE(modes->autoReading) << "a silent start reads nothing by itself";
  EXPECT_FALSE(doc.deviceLink().engine().autoReading());
  EXPECT_EQ(doc.programNetwork().GetValueByName("Port"), port);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "home" / "protocol"));
  std::string registered;
  settings.readString(kDevicesKey, kDescriptionValue, registered);
  EXPECT_EQ(registered, kDeviceName);

  document::CZELMOTDoc refused{&prompt};
  const std::string log = (dir.path() / "no-folder" / "errors.log").string();
  EXPECT_FALSE(startDocument(parseCommandLine({"/port:1/elog:\"" + log + "\""}),
                             {ZELMOT_BIN_DIR, {}, dir.path().string()}, settings, refused, &prompt, error));
  EXPECT_FALSE(error.empty()) << "an error log that cannot be made stops the start";
}

}  // namespace
}  // namespace zelmot::app
