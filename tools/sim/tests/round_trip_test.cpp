// Values written through the program's own link come back unchanged from a read, for
// every value type the device knows.
#include <gtest/gtest.h>

#include "link/frame_codec.h"
#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

struct RoundTrip {
  const char* name;
  int32_t index;
  const char* written;
  const char* readBack;
};

class RoundTripTest : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(RoundTripTest, WrittenValueReadsBack) {
  const RoundTrip& c = GetParam();
  SimHarness sim;
  auto writer = sim.parameter(c.name, c.index);
  ASSERT_EQ(sim.write(*writer, c.written), 0) << writer->errorText();
  EXPECT_EQ(writer->valueText(), c.readBack) << "the write reply shows what the device took";
  auto reader = sim.parameter(c.name, c.index);
  ASSERT_EQ(sim.read(*reader), 0) << reader->errorText();
  EXPECT_EQ(reader->valueText(), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, RoundTripTest,
    ::testing::Values(RoundTrip{"SP", -1, "12.5", "12.500"},              // fixed decimals
                      RoundTrip{"SP", -1, "-42.3", "-42.300"},            // sign
                      RoundTrip{"Kp", -1, "1234.567", "1234.567"},        // 4-byte mantissa
                      RoundTrip{"Ti", -1, "12:34", "12:34"},              // CLK_frm, 2 bytes
                      RoundTrip{"Cnt", -1, "300", "300"},                 // DEC_dot, 2 bytes
                      RoundTrip{"Cnt", -1, "7", "7"},                     // DEC_dot, 1 byte
                      RoundTrip{"NetN", -1, "Z9-.", "Z9-. "},              // network name
                      RoundTrip{"Mode", 1, "Авто", "Авто"},               // enum, indexed
                      RoundTrip{"Shift", 6, "-3.25", "-3.250"},           // STORED_DOT, indexed
                      RoundTrip{"A.i.j", 2, "513", "513"},                // DEC_dot, indexed
                      RoundTrip{"bPS", -1, "19200", "19200"},             // network settings
                      RoundTrip{"PrtY", -1, "Четность", "Четность"}));

TEST(RoundTrip, InitialValuesComeFromTheCatalogue) {
  SimHarness sim;
  const std::pair<const char*, const char*> expected[] = {
      {"SP", "100.000"}, {"Ti", "01:30"}, {"NetN", "AB.1 "}, {"Ident", "Z-12"}, {"Addr", "16"}};
  for (const auto& [name, value] : expected) {
    auto p = sim.parameter(name);
    ASSERT_EQ(sim.read(*p), 0) << name << ": " << p->errorText();
    EXPECT_EQ(p->valueText(), value) << name;
  }
}

TEST(RoundTrip, ElementsOfAnIndexedParameterAreSeparate) {
  SimHarness sim;
  auto first = sim.parameter("Shift", 4);
  auto second = sim.parameter("Shift", 5);
  ASSERT_EQ(sim.write(*first, "1.5"), 0) << first->errorText();
  ASSERT_EQ(sim.write(*second, "2.5"), 0) << second->errorText();
  ASSERT_EQ(sim.read(*first), 0);
  EXPECT_EQ(first->valueText(), "1.500");
}

TEST(ServiceCommands, IdentityAndRestartReason) {
  SimOptions options;
  options.deviceType = "ZELMOT";
  options.firmwareVersion = "3.07";
  SimHarness sim(options);
  auto dev = sim.parameter("dev");
  auto ver = sim.parameter("ver");
  auto exit = sim.parameter("exit");
  ASSERT_EQ(sim.read(*dev), 0);
  ASSERT_EQ(sim.read(*ver), 0);
  ASSERT_EQ(sim.read(*exit), 0);
  EXPECT_EQ(dev->valueText(), "ZELMOT");
  EXPECT_EQ(ver->valueText(), "3.07");
  EXPECT_EQ(exit->valueText(), "01 00 00");
  EXPECT_EQ(sim.write(*dev, "OTHER"), 1);
  EXPECT_EQ(dev->errorText(), "Попытка модификации ROM-параметра");
}

TEST(ServiceCommands, ErrorCounterCountsRefusals) {
  SimHarness sim;
  auto unknown = sim.parameter("NoSuch");
  sim.read(*unknown);
  sim.read(*unknown);
  auto counter = sim.parameter("n.Err");
  ASSERT_EQ(sim.read(*counter), 0) << counter->errorText();
  EXPECT_EQ(counter->valueText(), "2");
}

// A write to a service parameter is a ROM refusal like any other. For n.Err the reply's
// code cannot tell a refusal from an answer, so its data must be the refusal's code, not
// the counter.
TEST(ServiceCommands, WritesToServiceParametersAreRefusedAsReadOnly) {
  SimDevice device(SimOptions{}, testStore());
  for (const char* name : {"n.Err", "dev", "ver", "exit"}) {
    DeviceRequest request;
    request.address = device.network().address;
    request.requestFlag = 0;
    request.command = link::name_hash(name);
    request.data = {0x00, 0x00};
    const DeviceReply reply = device.handle(request);
    EXPECT_EQ(reply.command, link::kErrorReplyCode) << name;
    EXPECT_EQ(reply.data, std::vector<uint8_t>{0x03}) << name;
  }
  EXPECT_EQ(device.errorCount(), 4u) << "the refusals are counted, the counter is not reset";
}

}  // namespace
}  // namespace zelmot::sim::testing
