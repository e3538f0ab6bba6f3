// Faults asked of the device reach the program as the transaction's own texts.
#include <gtest/gtest.h>

#include "fault_injector.h"
#include "link/device_protocol.h"
#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

struct FaultCase {
  const char* label;
  FaultOptions faults;
  const char* errorText;
};

FaultOptions share(double FaultOptions::*field) {
  FaultOptions options;
  options.*field = 100;
  return options;
}

FaultOptions errorCode(uint8_t code) {
  FaultOptions options;
  options.errorCode = code;
  return options;
}

class FaultTextTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultTextTest, TransactionReportsIt) {
  SimOptions options;
  options.faults = GetParam().faults;
  SimHarness sim(options);
  auto p = sim.parameter("Cnt");
  EXPECT_EQ(sim.read(*p), 1);
  EXPECT_EQ(p->errorText(), GetParam().errorText);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTextTest,
    ::testing::Values(
        FaultCase{"drop", share(&FaultOptions::dropRepliesPercent), link::kTimeoutText},
        FaultCase{"checksum", share(&FaultOptions::corruptChecksumsPercent),
                  "Ошибка в контрольной сумме ответа"},
        FaultCase{"start", share(&FaultOptions::noStartPercent), "Потеря начала посылки."},
        FaultCase{"foreign", share(&FaultOptions::foreignCodePercent),
                  "Пришла посылка с кодом команды, отличным от посланной и от n.Err.\n"},
        FaultCase{"error", errorCode(0x48), "Ошибка при чтении ЕЕПРОМ"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Faults, SilentAfterAnsweringSomeRequests) {
  SimOptions options;
  options.faults.silentAfter = 2;
  SimHarness sim(options);
  auto p = sim.parameter("Cnt");
  EXPECT_EQ(sim.read(*p), 0);
  EXPECT_EQ(sim.read(*p), 0);
  EXPECT_EQ(sim.read(*p), 1);
  EXPECT_EQ(p->errorText(), link::kTimeoutText);
}

TEST(Faults, HangUpClosesTheLineAfterTheAnswer) {
  SimOptions options;
  options.faults.hangupAfter = 1;
  SimHarness sim(options);
  auto p = sim.parameter("Cnt");
  EXPECT_EQ(sim.read(*p), 0) << p->errorText();
  EXPECT_EQ(sim.read(*p), 1);
  EXPECT_FALSE(p->errorText().empty());
  EXPECT_EQ(sim.stop(), SimServer::Outcome::HungUp);
}

TEST(Faults, SharesAreReproducibleFromTheSeed) {
  FaultOptions options;
  options.dropRepliesPercent = 50;
  options.seed = 77;
  FaultInjector first(options);
  FaultInjector second(options);
  int kept = 0;
  for (int i = 0; i < 200; ++i) {
    const bool keep = first.keepReply();
    ASSERT_EQ(keep, second.keepReply()) << i;
    kept += keep ? 1 : 0;
  }
  EXPECT_GT(kept, 60);
  EXPECT_LT(kept, 140);
}

TEST(Faults, ForeignCodeIsNeitherTheRequestNorAnError) {
  FaultOptions options;
  options.foreignCodePercent = 100;
  FaultInjector faults(options);
  for (uint16_t code : {uint16_t{0x0233}, uint16_t{0x5A5A ^ 0x0233}, uint16_t{0xE894}}) {
    const uint16_t foreign = faults.replyCommand(code, code);
    EXPECT_NE(foreign, code);
    EXPECT_NE(foreign, 0x0233);
  }
}

struct PaceCase {
  int baud;
  Parity parity;
  int stopBits;
  double expectedMs;
};

class PaceTest : public ::testing::TestWithParam<PaceCase> {};

TEST_P(PaceTest, WireTimeOfBothFramesPlusTurnaround) {
  const PaceCase& c = GetParam();
  NetworkSettings line;
  line.baud = c.baud;
  line.parity = c.parity;
  line.stopBits = c.stopBits;
  // A 14-character request and a 16-character reply: 30 characters on the wire.
  EXPECT_NEAR(pacedReplyDelayMs(line, 14, 16, 2.0), c.expectedMs, 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PaceTest,
    ::testing::Values(PaceCase{9600, Parity::None, 1, 30 * 10000.0 / 9600 + 2},
                      PaceCase{9600, Parity::Even, 1, 30 * 11000.0 / 9600 + 2},
                      PaceCase{9600, Parity::Odd, 2, 30 * 12000.0 / 9600 + 2},
                      PaceCase{115200, Parity::None, 1, 30 * 10000.0 / 115200 + 2}));

}  // namespace
}  // namespace zelmot::sim::testing
