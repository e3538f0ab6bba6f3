// The transaction rules of transact_frame, over the memory transport: every attempt is
// counted exactly, without a terminal or a clock.
#include "link/device_protocol.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "link/memory_transport.h"
#include "scripted_device.h"

namespace zelmot::link {
namespace {

using testing::deviceReply;

constexpr const char* kChecksumText = "Ошибка в контрольной сумме ответа";
constexpr const char* kForeignText =
    "Пришла посылка с кодом команды, отличным от посланной и от n.Err.\n";

class TransactTest : public ::testing::Test {
protected:
  TransactTest()
      : link(std::make_unique<MemoryTransport>()),
        line(static_cast<MemoryTransport&>(link.port())) {
    line.setLineSettings({115200, Parity::NoneUnchecked, 8, 1});
    line.open_port();
    link.setFrameTrace([this](const TraceEvent& e) { traced.push_back(e); });
  }

  // The device answers each request as the script says.
  void answerWith(std::function<std::string(const Request&)> script) {
    line.setScript([this, script](const std::string& frame) {
      return MemoryAnswer::reply(script(parse(frame)));
    });
  }
  void answerAlways(const std::string& reply) {
    answerWith([reply](const Request&) { return reply; });
  }
  Request parse(const std::string& frame) const {
    return read_request(frame.data(), frame.size(), link.addressLength());
  }
  int attempts() const { return static_cast<int>(line.framesSent().size()); }

  int read(uint16_t command, int addressOffset = 0) {
    return link.transact_frame(1, command, nullptr, 0, reply, errorText, addressOffset);
  }

  DeviceProtocol link;
  MemoryTransport& line;
  std::vector<TraceEvent> traced;
  FrameReply reply;
  std::string errorText = "before";
};

TEST_F(TransactTest, MatchingReplyDeliversItsData) {
  answerWith([](const Request& r) { return deviceReply(r.command, {7, 8, 9}); });
  EXPECT_EQ(read(0xE894), 1);
  EXPECT_EQ(errorText, "before");
  ASSERT_EQ(reply.length, 3);
  EXPECT_EQ(reply.data[2], 9);
  EXPECT_EQ(attempts(), 1);
  EXPECT_EQ(parse(line.framesSent()[0]).requestFlag, 1);
}

TEST_F(TransactTest, AddressComesFromBaseAndOffset) {
  answerWith([](const Request& r) { return deviceReply(r.command, {}); });
  link.setBaseAddress(20);
  EXPECT_EQ(read(0x1111, 5), 1);
  EXPECT_EQ(read(0x1111, -1), 1);
  link.setBaseAddress(INT_MAX);  // what a saturated "Addr" text gives
  EXPECT_EQ(read(0x1111, 2), 1);
  ASSERT_EQ(attempts(), 3);
  EXPECT_EQ(parse(line.framesSent()[0]).address, 25);
  EXPECT_EQ(parse(line.framesSent()[1]).address, 255);
  EXPECT_EQ(parse(line.framesSent()[2]).address, 1);  // low 8 bits of 0x7FFFFFFF + 2
}

TEST_F(TransactTest, ElevenBitAddressing) {
  answerWith([](const Request& r) { return deviceReply(r.command, {}); });
  link.setAddressLength(11);
  link.setBaseAddress(1000);
  EXPECT_EQ(read(0xE894, 1), 1);
  EXPECT_EQ(parse(line.framesSent().at(0)).address, 1001);
}

TEST_F(TransactTest, EachRetryBudgetEndsWithItsText) {
  struct Case {
    const char* what;
    MemoryAnswer answer;
    int attempts;
    const char* text;
  };
  std::string noStart = deviceReply(0xE894, {});
  noStart[0] = 'G';
  const Case cases[] = {
      {"silence", MemoryAnswer::silence(), 4, kTimeoutText},
      {"line error", MemoryAnswer::ending(ExchangeResult::LineError), 17, kLineErrorText},
      {"break in the input", MemoryAnswer::reply(std::string("#GH\xFF\x00\x00", 6)), 17,
       kLineErrorText},
      {"no start", MemoryAnswer::reply(noStart), 16, kLostStartText},
      {"bare carriage return", MemoryAnswer::reply("\r"), 16, kLostStartText},
  };
  for (const Case& c : cases) {
    const int before = attempts();
    line.setScript([&c](const std::string&) { return c.answer; });
    errorText = "before";
    EXPECT_EQ(read(0xE894), 0) << c.what;
    EXPECT_EQ(errorText, c.text) << c.what;
    EXPECT_EQ(attempts() - before, c.attempts) << c.what;
  }
}

TEST_F(TransactTest, BudgetsDoNotResetEachOther) {
  // 3 time-outs, 16 line errors and 15 replies without a start, then a sound reply: the
  // 35th attempt still succeeds, as no budget was exceeded.
  for (int i = 0; i < 3; ++i) line.answer(MemoryAnswer::silence());
  for (int i = 0; i < 16; ++i) line.answer(MemoryAnswer::ending(ExchangeResult::LineError));
  for (int i = 0; i < 15; ++i) line.answer(MemoryAnswer::reply("G\r"));
  line.answer(MemoryAnswer::reply(deviceReply(0xE894, {1})));
  EXPECT_EQ(read(0xE894), 1);
  EXPECT_EQ(attempts(), 35);

  // One more time-out after three is one too many, whatever came between.
  for (int i = 0; i < 3; ++i) line.answer(MemoryAnswer::silence());
  line.answer(MemoryAnswer::reply("G\r"));
  line.answer(MemoryAnswer::silence());
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_EQ(errorText, kTimeoutText);
  EXPECT_EQ(attempts(), 35 + 5);
}

TEST_F(TransactTest, LostStartRecoversWhenTheNextReplyIsSound) {
  line.answer(MemoryAnswer::reply("\r"));
  line.answer(MemoryAnswer::reply("x\r"));
  answerWith([](const Request& r) { return deviceReply(r.command, {5}); });
  EXPECT_EQ(read(0xE894), 1);
  EXPECT_EQ(attempts(), 3);
  EXPECT_EQ(reply.data[0], 5);
}

TEST_F(TransactTest, ErrorRepliesUseTheCatalogue) {
  struct Case {
    std::vector<uint8_t> data;
    std::string text;
  };
  const Case cases[] = {
      {{0x27}, "Неверная контрольная сумма кадра"},
      {{0x15}, "before"},  // no text for this code
      {{}, "before"},      // no code at all
  };
  for (const auto& c : cases) {
    answerAlways(deviceReply(kErrorReplyCode, c.data));
    errorText = "before";
    const int before = attempts();
    EXPECT_EQ(read(0xE894), 0);
    EXPECT_EQ(errorText, c.text);
    EXPECT_EQ(reply.length, c.data.size());
    if (!c.data.empty()) {
      EXPECT_EQ(reply.data[0], c.data[0]);
    }
    EXPECT_EQ(attempts() - before, 1);
  }
}

TEST_F(TransactTest, ReadingTheErrorParameterItselfSucceeds) {
  answerAlways(deviceReply(kErrorReplyCode, {0x27}));
  EXPECT_EQ(read(kErrorReplyCode), 1);
}

TEST_F(TransactTest, ForeignCommandCodeFailsWithItsDataDelivered) {
  answerAlways(deviceReply(0x1234, {1}));
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_EQ(errorText, kForeignText);
  EXPECT_EQ(reply.length, 1);
  EXPECT_EQ(attempts(), 1);  // a sound frame from elsewhere is not retried
}

TEST_F(TransactTest, ChecksumMismatchFailsWithoutRetry) {
  std::string damaged = deviceReply(0xE894, {1, 2});
  damaged[damaged.size() - 2] = damaged[damaged.size() - 2] == 'G' ? 'H' : 'G';
  answerAlways(damaged);
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_EQ(errorText, kChecksumText);
  EXPECT_EQ(reply.length, 0);
  EXPECT_EQ(attempts(), 1);
}

TEST_F(TransactTest, OversizedRequestIsRefusedBeforeTheLine) {
  answerAlways(deviceReply(0xE894, {}));
  const std::vector<uint8_t> data(16, 1);
  EXPECT_EQ(link.transact_frame(0, 0xE894, data.data(), data.size(), reply, errorText, 0), 0);
  EXPECT_NE(errorText, "before");
  EXPECT_EQ(attempts(), 0);
}

TEST_F(TransactTest, SilentDeviceTracesTheLineSettingsNotTheErrorText) {
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_EQ(errorText, kTimeoutText);
  ASSERT_FALSE(traced.empty());
  EXPECT_EQ(traced.back().kind, TraceEvent::Kind::Note);
  EXPECT_NE(traced.back().text.find("115200"), std::string::npos);
  EXPECT_EQ(traced.front().kind, TraceEvent::Kind::Sent);
}

TEST_F(TransactTest, StopEventEndsTheTransactionAndEveryLaterOne) {
  // The stop comes while the first attempt waits for its reply.
  line.setScript([this](const std::string&) {
    line.stop_event().set();
    return MemoryAnswer::silence();
  });
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_EQ(errorText, kLostStartText);
  EXPECT_EQ(traced.back().text, "Обмен прерван: работа завершается");
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_EQ(attempts(), 1);  // nothing more reached the line
}

TEST_F(TransactTest, SemiAutomaticConverterWithoutRtsIsNotedOnce) {
  answerWith([](const Request& r) { return deviceReply(r.command, {}); });
  line.setConverterMode(ConverterMode::SemiAutomatic);
  line.setRtsUnavailable(true);
  EXPECT_TRUE(link.semiAutomaticConverterUnusable());
  EXPECT_EQ(read(0xE894), 1);
  EXPECT_EQ(read(0xE894), 1);
  int notes = 0;
  for (const TraceEvent& e : traced) {
    if (e.kind == TraceEvent::Kind::Note && e.text.find("RTS") != std::string::npos) ++notes;
  }
  EXPECT_EQ(notes, 1);
  line.setConverterMode(ConverterMode::Automatic);
  EXPECT_FALSE(link.semiAutomaticConverterUnusable());
}

// The whole stack once over a pseudo-terminal: an unplugged adapter fails the exchange
// with the port's own error in the trace, and later ones at once.
TEST(TransactOverPty, UnpluggedLineFailsWithThePortErrorInTheTrace) {
  testing::PtyPair pty;
  DeviceProtocol link;
  std::vector<TraceEvent> traced;
  link.setFrameTrace([&](const TraceEvent& e) { traced.push_back(e); });
  link.port().setPortName(pty.slavePath());
  link.port().setConverterMode(ConverterMode::Automatic);
  link.port().setLineSettings({110, Parity::None, 8, 1});  // seven seconds per attempt
  ASSERT_EQ(link.port().open_port(), OpenResult::Ok);
  pty.closeMasterAndSlave();
  FrameReply reply;
  std::string errorText;
  EXPECT_EQ(link.transact_frame(1, 0xE894, nullptr, 0, reply, errorText, 0), 0);
  EXPECT_EQ(errorText, kLostStartText);
  EXPECT_TRUE(link.port().hasFailed());
  ASSERT_FALSE(traced.empty());
  EXPECT_NE(formatTraceEvent(traced.back()).find(link.port().lastErrorText()), std::string::npos);
}

}  // namespace
}  // namespace zelmot::link
