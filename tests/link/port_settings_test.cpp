#include "link/port_settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <system_error>

#include <termios.h>

#include "link/device_protocol.h"
#include "scripted_device.h"
#include "support/recording_prompt.h"
#include "platform/os_error.h"

namespace zelmot::link {
namespace {

TEST(DecimalText, ReadsLikeTheSettingsExpect) {
  const std::pair<const char*, int> cases[] = {
      {"9600", 9600}, {"  16", 16},  {"-5", -5},   {"+7", 7},   {"11abc", 11}, {"", 0},
      {"abc", 0},     {"- 5", 0},    {"\t8", 8},   {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(decimalTextToInt(text), value) << text;
}

TEST(ParityText, OnlyTheThreeSettingTexts) {
  Parity parity = Parity::Mark;
  EXPECT_TRUE(parityForText("Отсутствует", parity));
  EXPECT_EQ(parityCode(parity), 3);
  EXPECT_TRUE(parityForText("Четность", parity));
  EXPECT_EQ(parityCode(parity), 1);
  EXPECT_TRUE(parityForText("Нечетность", parity));
  EXPECT_EQ(parityCode(parity), 4);
  parity = Parity::Mark;
  EXPECT_FALSE(parityForText("Even", parity));
  EXPECT_FALSE(parityForText("", parity));
  EXPECT_EQ(parity, Parity::Mark);
}

struct FakeSettings : PortSettingsSource {
  std::map<std::string, std::string> values;
  int cleared = 0;
  std::string GetValueByName(const std::string& name) const override {
    const auto it = values.find(name);
    return it == values.end() ? std::string() : it->second;
  }
  void clearStateFlags() override { ++cleared; }
};

class LinkWithLoaded : public DeviceProtocol {
public:
  int loadedCalls = 0;

protected:
  void portSettingsLoaded() override { ++loadedCalls; }
};

class PortSettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    settings.values = {{"Port", pty.slavePath()}, {"bPS", "2400"}, {"Addr", " 21"},
                       {"A.Len", "11"},           {"LEn", "7"},    {"Sbit", "2"},
                       {"PrtY", "Нечетность"}};
    link.setPortSettingsSource(&settings);
    link.setUserPrompt(&prompt);
  }

  testing::PtyPair pty;
  FakeSettings settings;
  test_support::RecordingPrompt prompt;
  LinkWithLoaded link;
};

TEST_F(PortSettingsTest, LoadCopiesEveryKey) {
  link.load_port_settings();
  EXPECT_EQ(link.port().portName(), pty.slavePath());
  const LineSettings line = link.port().lineSettings();
  EXPECT_EQ(line.baud, 2400);
  EXPECT_EQ(line.dataBits, 7);
  EXPECT_EQ(line.stopBits, 2);
  EXPECT_EQ(line.parity, Parity::Odd);
  EXPECT_EQ(link.baseAddress(), 21);
  EXPECT_EQ(link.addressLength(), 11);
  EXPECT_EQ(settings.cleared, 1);
  EXPECT_EQ(link.loadedCalls, 1);
}

TEST_F(PortSettingsTest, UnknownParityTextKeepsTheCode) {
  link.load_port_settings();
  settings.values["PrtY"] = "Mark";
  link.load_port_settings();
  EXPECT_EQ(link.port().lineSettings().parity, Parity::Odd);
}

TEST_F(PortSettingsTest, ReopenOpensWithTheNewSettings) {
  EXPECT_EQ(link.reopen_port(), OpenResult::Ok);
  EXPECT_TRUE(link.port().isOpen());
  EXPECT_EQ(link.port().lineSettings().baud, 2400);
  EXPECT_TRUE(prompt.calls().empty());
}

TEST_F(PortSettingsTest, NewSettingsReachAnOpenPortAndUnchangedOnesLeaveItAlone) {
  ASSERT_EQ(link.reopen_port(), OpenResult::Ok);
  termios line{};
  ASSERT_EQ(::tcgetattr(pty.master(), &line), 0);
  EXPECT_EQ(::cfgetospeed(&line), B2400);

  // (A pseudo-terminal keeps the speed but drops parity and character size, so the speed
  // is what shows here.)
  settings.values["bPS"] = "19200";
  link.load_port_settings();
  EXPECT_TRUE(link.port().isOpen());
  ASSERT_EQ(::tcgetattr(pty.master(), &line), 0);
  EXPECT_EQ(::cfgetospeed(&line), B19200);

  // The same settings once more: the port is not closed under a running exchange.
  ::cfsetospeed(&line, B4800);
  ASSERT_EQ(::tcsetattr(pty.master(), TCSANOW, &line), 0);
  link.load_port_settings();
  ASSERT_EQ(::tcgetattr(pty.master(), &line), 0);
  EXPECT_EQ(::cfgetospeed(&line), B4800);
  EXPECT_TRUE(prompt.calls().empty());
}

TEST_F(PortSettingsTest, ReopenKeepsThePortClosedWhenAsked) {
  link.setKeepPortClosed(true);
  EXPECT_EQ(link.reopen_port(), OpenResult::NotOpened);
  EXPECT_FALSE(link.port().isOpen());
  EXPECT_EQ(settings.cleared, 1);  // the settings are still taken over
  link.setKeepPortClosed(false);
  link.setNoDeviceExchange(true);
  EXPECT_EQ(link.reopen_port(), OpenResult::NotOpened);
  EXPECT_TRUE(prompt.calls().empty());
}

TEST_F(PortSettingsTest, FailedReopenTellsTheUserUnlessSuppressed) {
  settings.values["Port"] = "/dev/zelmot-no-such-port";
  EXPECT_EQ(link.reopen_port(), OpenResult::NotOpened);
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].text,
            "Неудается открыть порт /dev/zelmot-no-such-port: " +
                osErrorText(ENOENT) +
                ". Связь с сетью отсутствует. Проверьте сетевые параметры");
  EXPECT_EQ(prompt.calls()[0].caption, "Ошибка драйвера последовательного порта");

  settings.values["Port"] = pty.slavePath();
  settings.values["bPS"] = "256000";
  link.setSuppressMessages(true);
  EXPECT_EQ(link.reopen_port(), OpenResult::SettingRefused);
  EXPECT_EQ(prompt.calls().size(), 1u);
}

TEST_F(PortSettingsTest, DescriptionNamesTheLineSettings) {
  link.load_port_settings();
  const std::string text = link.describeLineSettings();
  for (const std::string& part : {pty.slavePath(), std::string("2400"), std::string("Нечетность"),
                                 std::string("21"), std::string("11-бит")}) {
    EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
  }
}

}  // namespace
}  // namespace zelmot::link
