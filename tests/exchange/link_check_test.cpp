#include "exchange/link_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "exchange/exchange_engine.h"
#include "recording_sinks.h"
#include "scripted_transport.h"

namespace zelmot::exchange::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class LinkCheckTest : public ::testing::Test {
protected:
  LinkCheckTest() {
    for (const char* name : {"n.Err", "dev", "ver", "exit"}) {
      catalogue[name] = &tree.add(tree.root, name, kNoDataText);
    }
  }

  // Each service parameter answers its value, or times out when the value is empty.
  void device(std::map<std::string, std::string> values) {
    transport.answer([values](bool, link::LinkParameter& p) {
      const std::string value = values.at(p.linkName());
      if (value.empty()) return timeOut(p);
      p.setLinkErrorText("");
      p.setLinkValueText(value);
      return 0;
    });
  }

  CatalogueLookup lookup() {
    return [this](const std::string& name) -> model::Parameter* {
      const auto found = catalogue.find(name);
      return found == catalogue.end() ? nullptr : found->second;
    };
  }

  ScriptedTransport transport;
  ExchangeEngine engine{transport};
  RecordingPrompt prompt;
  TestTree tree;
  std::map<std::string, model::Parameter*> catalogue;
};

TEST_F(LinkCheckTest, IdentityBitsFollowTheAnsweredType) {
  device({{"n.Err", "3"}, {"dev", "zelmot"}, {"ver", "3.07"}, {"exit", "01 00 00"}});
  uint8_t identity = 0;
  EXPECT_EQ(linkCheck(engine, lookup(), &prompt, true, &identity), "");
  EXPECT_EQ(identity, kIdentityAnswered | kIdentityOurType);
  ASSERT_EQ(prompt.messages().size(), 1u);
  EXPECT_EQ(prompt.messages()[0],
            "Общие параметры прибора: Прибор: zelmot\nВерсия ПО: 3.07\n\nПричина последнего "
            "перезапуска: 01 00 00\nОшибки запроса/ответа: 3\n");

  device({{"n.Err", "3"}, {"dev", "OTHER"}, {"ver", "1"}, {"exit", "0"}});
  EXPECT_EQ(checkLink(engine, lookup()).identity, kIdentityAnswered);
}

TEST_F(LinkCheckTest, SilentDeviceGivesFourBlocksInOrderAndNoInformation) {
  device({{"n.Err", ""}, {"dev", ""}, {"ver", ""}, {"exit", ""}});
  uint8_t identity = 0xFF;
  const std::string error = linkCheck(engine, lookup(), &prompt, true, &identity);
  const std::string timeout = kTimeoutText;
  EXPECT_EQ(error, "Ошибка команды 'n.Err':\n" + timeout + "\nОшибка команды 'dev':\n" + timeout +
                       "\nОшибка команды 'ver':\n" + timeout + "\nОшибка команды 'exit':\n" +
                       timeout + "\n");
  EXPECT_EQ(identity, 0);
  ASSERT_EQ(prompt.messages().size(), 1u);  // only the error box
  EXPECT_THAT(prompt.messages()[0], HasSubstr("Ошибка команды 'n.Err'"));
}

TEST_F(LinkCheckTest, UnreadErrorCounterAddsNoLine) {
  device({{"n.Err", ""}, {"dev", "ZELMOT"}, {"ver", "1"}, {"exit", "0"}});
  EXPECT_THAT(checkLink(engine, lookup()).infoText, Not(HasSubstr("Ошибки запроса/ответа")));
}

TEST_F(LinkCheckTest, MissingServiceParameterIsReportedNotFatal) {
  catalogue.erase("ver");
  device({{"n.Err", "0"}, {"dev", "ZELMOT"}, {"exit", "0"}});
  const LinkCheckResult result = checkLink(engine, lookup());
  EXPECT_EQ(result.errorText, "Ошибка команды 'ver':\nПараметер 'ver' не описан!\n");
  EXPECT_THAT(result.infoText, HasSubstr("Прибор: ZELMOT"));
}

TEST_F(LinkCheckTest, DeviceTypeCheckIgnoresBlanksAndCase) {
  device({{"dev", " Zel MOT "}});
  EXPECT_FALSE(deviceTypeMismatch(engine, lookup(), &prompt));
  device({{"dev", "ZELMOT-2"}});
  EXPECT_TRUE(deviceTypeMismatch(engine, lookup(), &prompt));
  ASSERT_EQ(prompt.messages().size(), 1u);
  EXPECT_EQ(prompt.messages()[0],
            "Ошибка обмена: Подключенный прибор не соответствует выбранному типу!\n");
  device({{"dev", ""}});
  EXPECT_FALSE(deviceTypeMismatch(engine, lookup(), &prompt));
  EXPECT_EQ(catalogue["dev"]->valueText(), kNoDataText);  // a temporary was read
}

}  // namespace
}  // namespace zelmot::exchange::testing
