#include "link/device_protocol.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <thread>

#include "scripted_device.h"

namespace zelmot::link {
namespace {

using testing::deviceReply;
using testing::PtyPair;
using testing::ScriptedDevice;
using Clock = std::chrono::steady_clock;

constexpr const char* kChecksumText = "Ошибка в контрольной сумме ответа";
constexpr const char* kForeignText =
    "Пришла посылка с кодом команды, отличным от посланной и от n.Err.\n";

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class TransactTest : public ::testing::Test {
protected:
  void SetUp() override {
    link.port().setPortName(pty.slavePath());
    link.port().setConverterMode(kAutomaticConverter);
    link.port().setLineSettings({115200, 0, 8, 1});
    link.setFrameTrace([this](const TraceEvent& e) { traced.push_back(e); });
  }

  // Starts the device and opens the port.
  void answerWith(testing::DeviceScript script) {
    device = std::make_unique<ScriptedDevice>(pty, std::move(script));
    ASSERT_EQ(link.port().open_port(), 0) << link.port().lastErrorText();
  }
  void answerAlways(const std::string& line) {
    answerWith([line](const Request&, const std::string&) { return line; });
  }

  int read(uint16_t command, int addressOffset = 0) {
    return link.transact_frame(1, command, nullptr, 0, reply, errorText, addressOffset);
  }

  PtyPair pty;
  DeviceProtocol link;
  std::unique_ptr<ScriptedDevice> device;
  std::vector<TraceEvent> traced;
  FrameReply reply;
  std::string errorText = "before";
};

TEST_F(TransactTest, MatchingReplyDeliversItsData) {
  answerWith([](const Request& r, const std::string&) { return deviceReply(r.command, {7, 8, 9}); });
  EXPECT_EQ(read(0xE894), 1);
  EXPECT_EQ(errorText, "before");
  ASSERT_EQ(reply.length, 3);
  EXPECT_EQ(reply.data[2], 9);
  EXPECT_EQ(device->framesReceived(), 1);
}

TEST_F(TransactTest, AddressComesFromBaseAndOffset) {
  answerWith([](const Request& r, const std::string&) { return deviceReply(r.command, {}); });
  link.setBaseAddress(20);
  EXPECT_EQ(read(0x1111, 5), 1);
  EXPECT_EQ(read(0x1111, -1), 1);
  const auto requests = device->requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].address, 25);
  EXPECT_EQ(requests[1].address, 255);
  EXPECT_EQ(requests[0].requestFlag, 1);
}

TEST_F(TransactTest, HugeBaseAddressWrapsInsteadOfOverflowing) {
  answerWith([](const Request& r, const std::string&) { return deviceReply(r.command, {}); });
  link.setBaseAddress(INT_MAX);  // what a saturated "Addr" text gives
  EXPECT_EQ(read(0x1111, 2), 1);
  const auto requests = device->requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].address, 1);  // low 8 bits of 0x7FFFFFFF + 2
}

TEST_F(TransactTest, SilentDeviceCostsFourAttempts) {
  answerWith([](const Request&, const std::string&) { return std::string(); });
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_EQ(errorText, kTimeoutText);
  EXPECT_EQ(device->framesReceived(), 4);
  // The line settings go to the trace, never into the error text.
  ASSERT_FALSE(traced.empty());
  EXPECT_EQ(traced.back().kind, TraceEvent::Kind::Note);
  EXPECT_NE(traced.back().text.find("115200"), std::string::npos);
  EXPECT_NE(traced.back().text.find(pty.slavePath()), std::string::npos);
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
    device.reset();
    link.port().close_port();
    answerAlways(deviceReply(kErrorReplyCode, c.data));
    errorText = "before";
    EXPECT_EQ(read(0xE894), 0);
    EXPECT_EQ(errorText, c.text);
    EXPECT_EQ(reply.length, c.data.size());
    if (!c.data.empty()) {
      EXPECT_EQ(reply.data[0], c.data[0]);
    }
    EXPECT_EQ(device->framesReceived(), 1);
  }
}

TEST_F(TransactTest, ReadingTheErrorParameterItselfSucceeds) {
  answerAlways(deviceReply(kErrorReplyCode, {0x27}));
  EXPECT_EQ(read(kErrorReplyCode), 1);
}

TEST_F(TransactTest, ForeignCommandCodeFails) {
  answerAlways(deviceReply(0x1234, {1}));
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_EQ(errorText, kForeignText);
  EXPECT_EQ(reply.length, 1);
}

TEST_F(TransactTest, ChecksumMismatchFailsWithoutRetry) {
  std::string damaged = deviceReply(0xE894, {1, 2});
  damaged[damaged.size() - 2] = damaged[damaged.size() - 2] == 'G' ? 'H' : 'G';
  answerAlways(damaged);
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_EQ(errorText, kChecksumText);
  EXPECT_EQ(reply.length, 0);
  EXPECT_EQ(device->framesReceived(), 1);
}

TEST_F(TransactTest, ReplyWithoutStartIsRetriedUpToTheLimit) {
  std::string noStart = deviceReply(0xE894, {});
  noStart[0] = 'G';
  answerAlways(noStart);
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_EQ(errorText, "Потеря начала посылки.");
  EXPECT_EQ(device->framesReceived(), 16);
}

TEST_F(TransactTest, LostStartRecoversWhenTheNextReplyIsSound) {
  int calls = 0;
  answerWith([&calls](const Request& r, const std::string&) {
    return ++calls < 3 ? std::string("\r") : deviceReply(r.command, {5});
  });
  EXPECT_EQ(read(0xE894), 1);
  EXPECT_EQ(device->framesReceived(), 3);
}

TEST_F(TransactTest, OversizedRequestIsRefusedBeforeTheLine) {
  answerAlways(deviceReply(0xE894, {}));
  const std::vector<uint8_t> data(16, 1);
  EXPECT_EQ(link.transact_frame(0, 0xE894, data.data(), data.size(), reply, errorText, 0), 0);
  EXPECT_NE(errorText, "before");
  EXPECT_EQ(device->framesReceived(), 0);
}

TEST_F(TransactTest, ElevenBitAddressing) {
  device = std::make_unique<ScriptedDevice>(
      pty, [](const Request& r, const std::string&) { return deviceReply(r.command, {}); }, 11);
  ASSERT_EQ(link.port().open_port(), 0);
  link.setAddressLength(11);
  link.setBaseAddress(1000);
  EXPECT_EQ(read(0xE894, 1), 1);
  EXPECT_EQ(device->requests().at(0).address, 1001);
}

TEST_F(TransactTest, StopEventEndsAWaitAndEveryLaterTransaction) {
  link.port().setLineSettings({110, 3, 8, 1});  // seven seconds per attempt
  answerWith([](const Request&, const std::string&) { return std::string(); });
  std::thread stopper([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    link.port().stop_event().set();
  });
  const auto start = Clock::now();
  EXPECT_EQ(read(0xE894), 0);
  const double elapsed = msSince(start);
  stopper.join();
  std::printf("stop_event ended the transaction after %.1f ms\n", elapsed);
  EXPECT_LT(elapsed, 1000.0);
  EXPECT_EQ(errorText, "Потеря начала посылки.");

  const auto again = Clock::now();
  EXPECT_EQ(read(0xE894), 0);
  EXPECT_LT(msSince(again), 200.0);
  EXPECT_EQ(device->framesReceived(), 1);
}

TEST_F(TransactTest, UnpluggedLineEndsTheTransactionPromptly) {
  link.port().setLineSettings({110, 3, 8, 1});
  answerWith([](const Request&, const std::string&) { return std::string(); });
  std::thread unplug([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    device->stop();
    pty.closeMasterAndSlave();
  });
  const auto start = Clock::now();
  EXPECT_EQ(read(0xE894), 0);
  const double elapsed = msSince(start);
  unplug.join();
  std::printf("hang-up ended the transaction after %.1f ms\n", elapsed);
  EXPECT_LT(elapsed, 1000.0);
  EXPECT_TRUE(link.port().hasFailed());
  EXPECT_NE(formatTraceEvent(traced.back()).find(link.port().lastErrorText()), std::string::npos);
}

}  // namespace
}  // namespace zelmot::link
