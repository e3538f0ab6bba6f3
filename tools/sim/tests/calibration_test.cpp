// The calibration commands as the calibration wizard sends them, and the faults a run can
// be told to end with.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "calibration_fault.h"
#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

constexpr uint8_t kFinished = 0x80;

float coefficientOf(const std::vector<uint8_t>& reply) {
  const uint32_t bits = (reply[1] << 24) | (reply[2] << 16) | (reply[3] << 8) | reply[4];
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

SimOptions quickCalibration(CalibrationFault fault = {}) {
  SimOptions options;
  options.calibrationSeconds = 0.3;
  options.calibrationFault = fault;
  return options;
}

// Polls CLB.S about as the wizard does (faster) until bit 7 or 30 polls.
std::vector<uint8_t> pollUntilFinished(SimHarness& sim) {
  std::vector<uint8_t> last;
  for (int i = 0; i < 30; ++i) {
    const auto raw = sim.transact(1, "CLB.S", {});
    EXPECT_EQ(raw.result, 1) << raw.errorText;
    last = raw.data();
    if (last.size() == 2 && (last[0] & kFinished)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return last;
}

TEST(Calibration, FullRunOfTypeTwo) {
  SimHarness sim(quickCalibration());
  auto start = sim.transact(0, "CLB.I", {2});
  ASSERT_EQ(start.result, 1) << start.errorText;
  EXPECT_EQ(start.data(), (std::vector<uint8_t>{0x01, 0x00}));
  const auto running = sim.transact(1, "CLB.S", {});
  EXPECT_EQ(running.data()[0] & kFinished, 0) << "measurements take a while";

  EXPECT_EQ(pollUntilFinished(sim), (std::vector<uint8_t>{kFinished, 0}));
  const auto test = sim.transact(1, "CLB.T", {});
  EXPECT_EQ(test.data(), (std::vector<uint8_t>{0, kFinished, 0}));
  for (uint8_t k : {1, 2}) {
    const auto coefficient = sim.transact(1, "CLB.G", {k});
    ASSERT_EQ(coefficient.reply.length, 5) << int(k);
    EXPECT_EQ(coefficient.data()[0], k);
    EXPECT_LT(std::fabs(coefficientOf(coefficient.data())), 2.0f);
  }
  const auto third = sim.transact(1, "CLB.G", {3});
  EXPECT_EQ(third.data(), (std::vector<uint8_t>{kFinished, 34})) << "type 2 has two coefficients";
  const auto commit = sim.transact(0, "CLB.P", {});
  EXPECT_EQ(commit.data(), (std::vector<uint8_t>{kFinished | 0x40, 0}));
  EXPECT_EQ(sim.transact(0, "CLB.A", {}).result, 1);
  EXPECT_EQ(sim.transact(1, "CLB.S", {}).errorText,
            "задача еще не запущена(Сегмент COMMON свободен)")
      << "CLB.A leaves calibration mode";
}

TEST(Calibration, PositionSensorRunTakesInputAndValvePosition) {
  SimHarness sim(quickCalibration());
  EXPECT_EQ(sim.transact(0, "CLB.I", {3, 4}).data(), (std::vector<uint8_t>{0x01, 0}));
  pollUntilFinished(sim);
  EXPECT_EQ(sim.transact(0, "CLB.P", {}).data()[1], 0);
  EXPECT_EQ(sim.transact(0, "CLB.A", {}).result, 1);
  EXPECT_EQ(sim.transact(0, "CLB.I", {128 + 3, 4}).data()[1], 0) << "valve open";
  EXPECT_EQ(sim.transact(0, "CLB.I", {9, 4}).data()[1], 12) << "no input 10";
  EXPECT_EQ(sim.transact(0, "CLB.I", {3, 5}).data()[1], 13) << "not the position-sensor type";
  EXPECT_EQ(sim.transact(0, "CLB.I", {7}).data()[1], 13) << "no type 7";
}

TEST(Calibration, CommitBeforeTheMeasurementsEndIsRefused) {
  SimOptions options = quickCalibration();
  options.calibrationSeconds = 30;
  SimHarness sim(options);
  ASSERT_EQ(sim.transact(0, "CLB.I", {1}).result, 1);
  EXPECT_EQ(sim.transact(0, "CLB.P", {}).data()[1], 32);
  EXPECT_EQ(sim.transact(1, "CLB.G", {1}).reply.length, 2) << "no value yet";
}

TEST(Calibration, StatusFaultEndsTheMeasurements) {
  SimHarness sim(quickCalibration({CalibrationFault::Kind::Status, 7, {}}));
  ASSERT_EQ(sim.transact(0, "CLB.I", {1}).result, 1);
  EXPECT_EQ(pollUntilFinished(sim), (std::vector<uint8_t>{kFinished, 7}));
  EXPECT_EQ(sim.transact(0, "CLB.P", {}).data()[1], 7) << "nothing to commit";
}

TEST(Calibration, CoefficientFaultIsNamedByTheTest) {
  SimHarness sim(quickCalibration({CalibrationFault::Kind::Coefficient, 3, {}}));
  ASSERT_EQ(sim.transact(0, "CLB.I", {3}).result, 1);
  pollUntilFinished(sim);
  const auto test = sim.transact(1, "CLB.T", {});
  EXPECT_EQ(test.data(), (std::vector<uint8_t>{3, kFinished, 0}));
  const auto bad = sim.transact(1, "CLB.G", {3});
  ASSERT_EQ(bad.reply.length, 5);
  EXPECT_GT(coefficientOf(bad.data()), 10.0f);
  EXPECT_NE(sim.transact(0, "CLB.P", {}).data()[1], 0);
}

TEST(Calibration, UnfinishedMeasurementsNeverSetTheFinishedFlag) {
  SimHarness sim(quickCalibration({CalibrationFault::Kind::Unfinished, 0, {}}));
  ASSERT_EQ(sim.transact(0, "CLB.I", {1}).result, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_EQ(sim.transact(1, "CLB.S", {}).data(), (std::vector<uint8_t>{0x01, 0}));
}

TEST(Calibration, RefusedCommitsAreCountedPerRun) {
  SimHarness sim(quickCalibration({CalibrationFault::Kind::RefuseCommit, 2, {}}));
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(sim.transact(0, "CLB.I", {1}).result, 1);
    pollUntilFinished(sim);
    EXPECT_EQ(sim.transact(0, "CLB.P", {}).data()[1], 15) << run;
    EXPECT_EQ(sim.transact(0, "CLB.P", {}).data()[1], 15) << run;
    EXPECT_EQ(sim.transact(0, "CLB.P", {}).data()[1], 0) << "the third is taken, run " << run;
  }
}

TEST(Calibration, CoefficientRepliesCanBeCut) {
  SimHarness sim(quickCalibration({CalibrationFault::Kind::ReplySize, 3, {}}));
  ASSERT_EQ(sim.transact(0, "CLB.I", {1}).result, 1);
  pollUntilFinished(sim);
  EXPECT_EQ(sim.transact(1, "CLB.G", {1}).reply.length, 3);
}

TEST(Calibration, RefusalFaultsAnswerWithDeviceErrors) {
  SimHarness sim(quickCalibration({CalibrationFault::Kind::Refuse, 0, "CLB.T"}));
  ASSERT_EQ(sim.transact(0, "CLB.I", {1}).result, 1);
  EXPECT_EQ(sim.transact(1, "CLB.T", {}).errorText, "выполняется другая задача (Сегмент COMMON занят)");
  EXPECT_EQ(sim.transact(0, "CLB.A", {}).result, 1) << "other commands still answer";

  SimHarness refusing(quickCalibration({CalibrationFault::Kind::RefuseSensorType, 0, {}}));
  EXPECT_EQ(refusing.transact(0, "in-t", {3, 0, 2}).errorText.rfind("Недопустимое сочетание", 0), 0u);
  EXPECT_EQ(refusing.transact(1, "in-t", {0, 2}).errorText.rfind("Недопустимое сочетание", 0),
            std::string::npos)
      << "reads are not refused";
}

TEST(Calibration, FaultOptionForms) {
  CalibrationFault fault;
  std::string error;
  ASSERT_TRUE(parseCalibrationFault("refuse:CLB.P", fault, error));
  EXPECT_EQ(fault.kind, CalibrationFault::Kind::Refuse);
  EXPECT_EQ(fault.command, "CLB.P");
  ASSERT_TRUE(parseCalibrationFault("refuse-commit:4", fault, error));
  EXPECT_EQ(fault.kind, CalibrationFault::Kind::RefuseCommit);
  EXPECT_EQ(fault.value, 4);
  ASSERT_TRUE(parseCalibrationFault("unfinished", fault, error));
  EXPECT_EQ(fault.kind, CalibrationFault::Kind::Unfinished);
  for (const char* bad : {"unfinished:3", "reply-size:5", "refuse:CLB.A", "status:0", "status",
                          "coefficient:x", "loud"}) {
    EXPECT_FALSE(parseCalibrationFault(bad, fault, error)) << bad;
    EXPECT_NE(error.find("refuse-commit:N"), std::string::npos) << bad;
  }
}

}  // namespace
}  // namespace zelmot::sim::testing
