#include <gtest/gtest.h>

#include <cerrno>
#include <system_error>
#include <vector>

#include "link/device_protocol.h"
#include "link/memory_transport.h"
#include "scripted_device.h"
#include "platform/os_error.h"

namespace zelmot::link {
namespace {

using testing::deviceReply;
using testing::PtyPair;
using testing::ScriptedDevice;

// A parameter whose value is a plain run of bytes written as hex digits.
struct FakeParameter : LinkParameter {
  std::string name = "r.oe";
  std::string value = "41200000";
  std::string error = "old error";
  bool hasLinearIndex = false;
  int32_t linearIndex = 0;
  int32_t requestIndex = 0;
  int32_t multiplicity = 0;
  bool editable = false;
  bool factoryOwned = true;
  bool changeFlagsSet = true;
  bool attributeFlagsSet = true;
  std::vector<uint8_t> rawReply = {0xEE};
  int encodeAnswer = 1;
  int decodeAnswer = 1;

  std::string linkName() const override { return name; }
  std::string linkValueText() const override { return value; }
  void setLinkValueText(const std::string& text) override { value = text; }
  std::string linkErrorText() const override { return error; }
  void setLinkErrorText(const std::string& text) override { error = text; }
  bool linkHasLinearIndex() const override { return hasLinearIndex; }
  int32_t linkLinearIndex() const override { return linearIndex; }
  int32_t linkRequestIndex() const override { return requestIndex; }
  int32_t linkAttributeMultiplicity() const override { return multiplicity; }
  bool linkEditable() const override { return editable; }
  bool linkFactoryOwned() const override { return factoryOwned; }
  void setLinkAttributes(bool e, bool f) override {
    editable = e;
    factoryOwned = f;
    attributeFlagsSet = false;
  }
  void clearLinkChangeFlags() override {
    changeFlagsSet = false;
    attributeFlagsSet = false;
  }
  void storeLinkRawReply(const uint8_t* data, uint8_t length) override {
    rawReply.assign(data, data + length);
  }
  int linkTextToData(const std::string& text, std::vector<uint8_t>& data, std::string&) override {
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
      data.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return encodeAnswer;
  }
  int linkDataToText(const uint8_t* data, int length) override {
    if (decodeAnswer == 0) return 0;
    static const char* kHex = "0123456789ABCDEF";
    value.clear();
    for (int i = 0; i < length; ++i) {
      value += kHex[data[i] >> 4];
      value += kHex[data[i] & 15];
    }
    return decodeAnswer;
  }
};

struct Lines : LogSink {
  std::vector<std::string> lines;
  void addLine(const std::string& line) override { lines.push_back(line); }
};

// Answers M.s.t.r. with an attribute byte and the rest of what was asked; everything else
// with its own command code and the data it carried (or two bytes for a read).
std::string echoDevice(const Request& r, uint8_t attributes) {
  if (r.command == kAttributeCode) {
    std::vector<uint8_t> data = {attributes};
    const size_t start = r.requestFlag == 0 ? 1 : 0;
    data.insert(data.end(), r.data.begin() + start, r.data.begin() + r.length);
    return deviceReply(r.command, data);
  }
  if (r.requestFlag == 1) return deviceReply(r.command, {0x12, 0x34});
  return deviceReply(r.command, std::vector<uint8_t>(r.data.begin(), r.data.begin() + r.length));
}

class ParameterExchangeTest : public ::testing::Test {
protected:
  void SetUp() override {
    link.port().setPortName(pty.slavePath());
    link.port().setConverterMode(ConverterMode::Automatic);
    link.port().setLineSettings({115200, Parity::NoneUnchecked, 8, 1});
  }
  void answerWith(testing::DeviceScript script) {
    device = std::make_unique<ScriptedDevice>(pty, std::move(script));
  }
  void answerAsEcho(uint8_t attributes = 0x01) {
    answerWith([attributes](const Request& r, const std::string&) { return echoDevice(r, attributes); });
  }
  std::vector<Request> requests() const { return device->requests(); }

  PtyPair pty;
  DeviceProtocol link;
  std::unique_ptr<ScriptedDevice> device;
  FakeParameter p;
};

TEST_F(ParameterExchangeTest, ReadOpensTheClosedPortAndClosesItAfter) {
  answerAsEcho();
  EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::Ok);
  EXPECT_EQ(p.value, "1234");
  EXPECT_EQ(p.error, "");
  EXPECT_EQ(p.rawReply, (std::vector<uint8_t>{0x12, 0x34}));
  EXPECT_FALSE(p.changeFlagsSet);
  EXPECT_FALSE(link.port().isOpen());
  ASSERT_EQ(requests().size(), 1u);
  EXPECT_EQ(requests()[0].command, name_hash("r.oe"));
  EXPECT_EQ(requests()[0].length, 0);
}

TEST_F(ParameterExchangeTest, AttributesOnlyForTheFirstIndexOfEachGroup) {
  answerAsEcho();
  ASSERT_EQ(link.port().open_port(), OpenResult::Ok);
  p.hasLinearIndex = true;
  p.multiplicity = 4;
  struct Case {
    int32_t index;
    size_t frames;
  };
  for (const Case c : {Case{5, 1}, Case{8, 2}, Case{0, 2}, Case{3, 1}}) {
    p.linearIndex = c.index;
    const size_t before = requests().size();
    EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::Ok) << c.index;
    EXPECT_EQ(requests().size() - before, c.frames) << c.index;
  }
  EXPECT_TRUE(link.port().isOpen());  // a port that was open stays open
}

TEST_F(ParameterExchangeTest, NoAttributeTransferModeSkipsThem) {
  answerAsEcho();
  p.multiplicity = 1;
  link.setNoAttributeTransfer(true);
  EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::Ok);
  EXPECT_EQ(requests().size(), 1u);
}

TEST_F(ParameterExchangeTest, WithoutPermissionAWriteReadsTheAttributesFirst) {
  answerAsEcho(0x00);  // not editable, owner bit clear = factory owned
  p.hasLinearIndex = true;
  p.linearIndex = 0x0108;
  p.multiplicity = 4;
  p.editable = true;
  p.factoryOwned = false;
  EXPECT_EQ(link.exchange_parameter(0, p, nullptr), ParameterResult::Ok);
  const auto r = requests();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].command, kAttributeCode);
  EXPECT_EQ(r[0].requestFlag, 1);
  const uint16_t code = name_hash("r.oe");
  EXPECT_EQ(std::vector<uint8_t>(r[0].data.begin(), r[0].data.begin() + r[0].length),
            (std::vector<uint8_t>{0x00, 0x08, uint8_t(code >> 8), uint8_t(code & 0xFF)}));
  EXPECT_FALSE(p.editable);
  EXPECT_TRUE(p.factoryOwned);
  // The value itself, then the full 16-bit linear index.
  EXPECT_EQ(r[1].requestFlag, 0);
  EXPECT_EQ(std::vector<uint8_t>(r[1].data.begin(), r[1].data.begin() + r[1].length),
            (std::vector<uint8_t>{0x41, 0x20, 0x00, 0x00, 0x01, 0x08}));
}

TEST_F(ParameterExchangeTest, WithPermissionAWriteSendsTheAttributeByte) {
  answerAsEcho(0x03);
  link.setAttributeWritePermission(true);
  p.multiplicity = 1;
  p.editable = true;
  p.factoryOwned = false;
  EXPECT_EQ(link.exchange_parameter(0, p, nullptr), ParameterResult::Ok);
  const auto r = requests();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].requestFlag, 0);
  ASSERT_EQ(r[0].length, 3);
  EXPECT_EQ(r[0].data[0], 0x03);
  EXPECT_TRUE(p.editable);
  EXPECT_FALSE(p.factoryOwned);
}

TEST_F(ParameterExchangeTest, FailedAttributeExchangeLeavesRawReplyAndFlags) {
  answerWith([](const Request& r, const std::string&) {
    return r.command == kAttributeCode ? deviceReply(kErrorReplyCode, {0x08}) : echoDevice(r, 0);
  });
  p.multiplicity = 1;
  EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::AttributeExchangeFailed);
  EXPECT_EQ(p.error, "У запрошенного параметра отсутствуют признаки");
  EXPECT_EQ(p.rawReply, std::vector<uint8_t>{0xEE});
  EXPECT_TRUE(p.changeFlagsSet);
  EXPECT_TRUE(p.attributeFlagsSet);
  EXPECT_EQ(requests().size(), 1u);  // the value was not asked for
}

TEST_F(ParameterExchangeTest, AttributeReplyOfTheWrongSize) {
  answerWith([](const Request& r, const std::string&) { return deviceReply(r.command, {1, 2}); });
  p.multiplicity = 1;
  EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::AttributeReplySize);
  EXPECT_EQ(p.error, "Ошибка атрибутов; размер ответа не совпадает с ожидаемым.\n");
  EXPECT_EQ(p.rawReply, std::vector<uint8_t>{0xEE});
  EXPECT_EQ(requests().size(), 1u);
}

TEST_F(ParameterExchangeTest, MissingGraphNodeIsNotAnError) {
  answerWith([](const Request&, const std::string&) { return deviceReply(kErrorReplyCode, {0x35}); });
  for (const char* name : {"ORDN", "absc"}) {
    p.name = name;
    EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::Failed) << name;
    EXPECT_EQ(p.error, "") << name;
    EXPECT_FALSE(p.changeFlagsSet) << name;  // empty error text clears the flags
    p.changeFlagsSet = true;
  }
  p.name = "r.oe";
  EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::Failed);
  EXPECT_EQ(p.error, "Индекс параметра превышает ограничитель индекса");
  EXPECT_TRUE(p.changeFlagsSet);
  EXPECT_EQ(p.rawReply, std::vector<uint8_t>{0x35});
}

TEST_F(ParameterExchangeTest, UndecodableReplyEmptiesTheValue) {
  answerAsEcho();
  p.decodeAnswer = 0;
  EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::NotDecoded);
  EXPECT_EQ(p.error, "Не могу раскодировать ответ");
  EXPECT_EQ(p.value, "");
  EXPECT_TRUE(p.changeFlagsSet);
}

TEST_F(ParameterExchangeTest, EncoderAnswersAreJudgedOnlyWithALog) {
  answerAsEcho();
  Lines log;
  p.encodeAnswer = -1;
  EXPECT_EQ(link.exchange_parameter(0, p, &log), ParameterResult::NoEncoding);
  EXPECT_EQ(log.lines.back(), "Метод формирования посылки записи для команды 'r.oe' не определен.");
  p.encodeAnswer = 0;
  EXPECT_EQ(link.exchange_parameter(0, p, &log), ParameterResult::NotEncodable);
  EXPECT_EQ(log.lines.back(), "Неверное значение (неудается закодировать данные)");
  EXPECT_EQ(requests().size(), 0u);
  EXPECT_EQ(p.rawReply, std::vector<uint8_t>{0xEE});

  EXPECT_EQ(link.exchange_parameter(0, p, nullptr), ParameterResult::Ok);  // sent as produced
  EXPECT_EQ(requests().size(), 1u);
  p.encodeAnswer = 7;
  EXPECT_EQ(link.exchange_parameter(0, p, &log), ParameterResult::Ok);
  EXPECT_NE(std::find(log.lines.begin(), log.lines.end(),
                      "Предупреждение: странный ответ от ConvertToData(...)"),
            log.lines.end());
}

TEST_F(ParameterExchangeTest, LogListsEveryByteBothWays) {
  answerAsEcho();
  Lines log;
  p.value = "411F";
  EXPECT_EQ(link.exchange_parameter(0, p, &log), ParameterResult::Ok);
  const std::vector<std::string> expected = {
      "Размер инф-ой части посылки 2 байт.",
      ">> Посылка: # 0 : 065 = 0x41 (A)",
      ">> Посылка: # 1 : 031 = 0x1F (.)",
      "<< Ответ: # 0 : 065 = 0x41 (A)",
      "<< Ответ: # 1 : 031 = 0x1F (.)",
      "Инф-ная часть квитанции ответа имеет размер 2 байт.",
  };
  EXPECT_EQ(log.lines, expected);
}

TEST_F(ParameterExchangeTest, LogShowsHighBytesInTheDeviceCodePage) {
  answerWith([](const Request& r, const std::string&) { return deviceReply(r.command, {0xC0}); });
  Lines log;
  EXPECT_EQ(link.exchange_parameter(1, p, &log), ParameterResult::Ok);
  EXPECT_EQ(log.lines.at(1), "<< Ответ: # 0 : 192 = 0xC0 (А)");
}

TEST_F(ParameterExchangeTest, NoDeviceExchangeModeDoesNothing) {
  answerAsEcho();
  link.setNoDeviceExchange(true);
  EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::Ok);
  EXPECT_EQ(p.error, "old error");
  EXPECT_EQ(requests().size(), 0u);
}

TEST_F(ParameterExchangeTest, SilentDeviceLogsTheLineSettingsBesideTheTimeout) {
  answerWith([](const Request&, const std::string&) { return std::string(); });
  Lines log;
  EXPECT_EQ(link.exchange_parameter(1, p, &log), ParameterResult::Failed);
  EXPECT_EQ(p.error, kTimeoutText);
  EXPECT_EQ(device->framesReceived(), 4);
  EXPECT_NE(log.lines.back().find("115200"), std::string::npos);
}

TEST(ParameterExchangeWithoutPort, PortThatCannotOpenFailsWithTheReasonAndSendsNothing) {
  DeviceProtocol link(std::make_unique<MemoryTransport>());
  auto& line = static_cast<MemoryTransport&>(link.port());
  line.setPortName("/dev/ttyUSB0");
  line.failOpensWith(EACCES);
  FakeParameter p;
  p.multiplicity = 1;
  EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::Failed);
  EXPECT_EQ(p.error.rfind("Неудается открыть порт /dev/ttyUSB0: " +
                              osErrorText(EACCES),
                          0),
            0u)
      << p.error;
  EXPECT_NE(p.error.find("dialout"), std::string::npos);
  EXPECT_TRUE(link.portOpenFailed());
  EXPECT_TRUE(line.framesSent().empty());
  EXPECT_EQ(p.value, "41200000");
  EXPECT_EQ(p.rawReply, std::vector<uint8_t>{0xEE});

  line.failOpensWith(ENOENT);  // only a refused permission gets the hint
  EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::Failed);
  EXPECT_EQ(p.error.find("dialout"), std::string::npos);
  line.failOpensWith(0);
  line.answer(MemoryAnswer::reply(deviceReply(kAttributeCode, {0x01, 0x12, 0x34})));
  line.answer(MemoryAnswer::reply(deviceReply(name_hash(p.name), {0x56})));
  EXPECT_EQ(link.exchange_parameter(1, p, nullptr), ParameterResult::Ok);
  EXPECT_EQ(p.value, "56");
  EXPECT_FALSE(line.isOpen());
  EXPECT_FALSE(link.portOpenFailed());
}

}  // namespace
}  // namespace zelmot::link
