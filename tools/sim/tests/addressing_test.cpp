// Address filtering: the device answers its base address plus the 3-bit index, nothing
// else, acts on broadcasts without answering, and follows APLY to new network settings.
#include <gtest/gtest.h>

#include "link/device_protocol.h"
#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

TEST(Addressing, IndexInTheAddressSelectsTheChannel) {
  SimOptions options;
  options.statuses.push_back({"rEAd", 5, 253, 0});
  SimHarness sim(options);
  auto broken = sim.parameter("rEAd", 5);
  auto fine = sim.parameter("rEAd", 4);
  ASSERT_EQ(sim.read(*broken), 0) << broken->errorText();
  ASSERT_EQ(sim.read(*fine), 0) << fine->errorText();
  EXPECT_EQ(broken->valueText(), "Обрыв датчика.");
  EXPECT_NE(fine->valueText(), "Обрыв датчика.");
}

TEST(Addressing, OtherDevicesAreNotAnswered) {
  SimHarness sim;
  sim.link().setBaseAddress(24);
  auto p = sim.parameter("SP");
  EXPECT_EQ(sim.read(*p), 1);
  EXPECT_EQ(p->errorText(), link::kTimeoutText);
  sim.link().setBaseAddress(16);
  EXPECT_EQ(sim.transact(1, "SP", {}, 8).errorText, link::kTimeoutText) << "address 24";
  EXPECT_EQ(sim.transact(1, "SP", {}, 7).result, 1) << "address 23 is still ours";
}

TEST(Addressing, BroadcastActsWithoutAnswer) {
  SimHarness sim;
  const auto raw = sim.transact(0, "Cnt", {42}, -1);
  EXPECT_EQ(raw.result, 0);
  EXPECT_EQ(raw.errorText, link::kTimeoutText);
  auto p = sim.parameter("Cnt");
  ASSERT_EQ(sim.read(*p), 0);
  EXPECT_EQ(p->valueText(), "42");
}

TEST(Addressing, ElevenBitAddresses) {
  SimOptions options;
  options.address = 1000;
  options.addressLength = 11;
  SimHarness sim(options);
  auto p = sim.parameter("Cnt");
  ASSERT_EQ(sim.read(*p), 0) << p->errorText();
  EXPECT_EQ(p->valueText(), "5");
  EXPECT_EQ(sim.transact(1, "Cnt", {}, 1).result, 1) << "address 1001";
  sim.link().setAddressLength(8);  // 1000 mod 256 with 8-bit addressing is someone else
  EXPECT_EQ(sim.transact(1, "Cnt", {}).errorText, link::kTimeoutText);
}

TEST(Addressing, AplyMovesTheDeviceToItsNewAddress) {
  SimHarness sim;
  auto length = sim.parameter("A.Len");
  auto address = sim.parameter("Addr");
  ASSERT_EQ(sim.write(*length, "11"), 0) << length->errorText();
  ASSERT_EQ(sim.write(*address, "512"), 0) << address->errorText();
  auto check = sim.parameter("Cnt");
  ASSERT_EQ(sim.read(*check), 0) << "stored settings wait for APLY";

  auto aply = sim.parameter("APLY");
  ASSERT_EQ(sim.write(*aply, ""), 0) << aply->errorText();
  EXPECT_EQ(sim.read(*check), 1) << "the old address is gone";
  sim.link().setAddressLength(11);
  sim.link().setBaseAddress(512);
  EXPECT_EQ(sim.read(*check), 0) << check->errorText();
  EXPECT_EQ(sim.stop(), SimServer::Outcome::Stopped);
  EXPECT_EQ(sim.device().network().address, 512);
}

TEST(Addressing, RepliesAreShortEnoughForTheHost) {
  SimHarness sim;
  for (const char* name : {"dev", "ver", "exit", "rtC", "Kp", "NetN", "Ident", "n.Err"}) {
    const auto raw = sim.transact(1, name, {});
    EXPECT_EQ(raw.result, 1) << name << ": " << raw.errorText;
    EXPECT_LE(raw.reply.length, 7) << name;
  }
}

}  // namespace
}  // namespace zelmot::sim::testing
