// Values the device computes itself: the process under control, status codes of inputs,
// the clock, the discrete inputs and the parameters recomputed after structure changes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "process_model.h"
#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

using std::chrono::seconds;

TEST(ProcessModel, SettlesAtTheSetPoint) {
  const auto start = ProcessModel::Clock::now();
  ProcessModel model(start);
  const float initial = model.value(Measurement::Calibrated, 2);
  model.advance(start + seconds(30));
  const float early = model.value(Measurement::Calibrated, 2);
  model.advance(start + seconds(3600));
  const float setPoint = model.value(Measurement::SetPoint, 2);
  EXPECT_GT(early, initial) << "heating up";
  EXPECT_NEAR(model.value(Measurement::Calibrated, 2), setPoint, 0.5f);
  EXPECT_GE(model.value(Measurement::Output, 2), 0.0f);
  EXPECT_LE(model.value(Measurement::Output, 2), 100.0f);
}

TEST(ProcessModel, SameTimesGiveSameValues) {
  const auto start = ProcessModel::Clock::now();
  ProcessModel a(start);
  ProcessModel b(start);
  for (int s = 1; s < 50; s += 7) a.advance(start + seconds(s));
  b.advance(start + seconds(43));
  EXPECT_FLOAT_EQ(a.value(Measurement::Reading, 1), b.value(Measurement::Reading, 1));
}

TEST(LivingValues, MeasuredValuesAndStatusCodes) {
  SimOptions options;
  options.statuses.push_back({"Set.P", 1, 250, 0});
  options.statuses.push_back({"rEAd", 3, 245, 11});
  SimHarness sim(options);
  auto setPoint = sim.parameter("Set.P", 0);
  ASSERT_EQ(sim.read(*setPoint), 0) << setPoint->errorText();
  EXPECT_EQ(setPoint->valueText(), "100.000");
  auto noSetPoint = sim.parameter("Set.P", 1);
  ASSERT_EQ(sim.read(*noSetPoint), 0);
  EXPECT_EQ(noSetPoint->valueText(), "У регулятора отсутствует уставка или регулятор не работает.");
  auto computing = sim.parameter("rEAd", 3);
  ASSERT_EQ(sim.read(*computing), 0);
  EXPECT_EQ(computing->valueText(), "На входе вычислителя корня отрицательное число");
}

TEST(LivingValues, ClockRunsFromTheWrittenTime) {
  SimHarness sim;
  auto clock = sim.parameter("rtC");
  // Year 09, May (4 from 0), the 7th (6 from 0), 14:30:05, six fields from the seconds up.
  ASSERT_EQ(sim.write(*clock, "9|4|6|14|30|5|97"), 0) << clock->errorText();
  auto reader = sim.parameter("rtC");
  ASSERT_EQ(sim.read(*reader), 0);
  EXPECT_EQ(reader->valueText().substr(0, 16), "07.05.2009 14:30");
  EXPECT_EQ(sim.write(*clock, "9|12|6|14|30|5|97"), 1) << "month 13";
  EXPECT_EQ(clock->errorText(), "Значение мантиссы превышает ограничения дескриптора");
}

TEST(LivingValues, DiscreteInputsFollowTheirStates) {
  SimOptions options;
  options.discreteInputs = 0x06;
  SimHarness sim(options);
  const char* expected[] = {"Разомкнут", "Замкнут", "Замкнут", "Разомкнут"};
  for (int i = 0; i < 4; ++i) {
    auto input = sim.parameter("r.Cn", i);
    ASSERT_EQ(sim.read(*input), 0) << input->errorText();
    EXPECT_EQ(input->valueText(), expected[i]) << i;
  }
}

TEST(StructureCounters, MoveOneStepAtATimeAndRecompute) {
  SimHarness sim;
  auto objects = sim.parameter("n.Obj");
  EXPECT_EQ(sim.write(*objects, "4"), 1) << "from 2 to 4 in one step";
  EXPECT_EQ(objects->errorText(),
            "Недопустимое сочетание значений параметров (Изменение параметра было запрещено "
            "функцией Valid)");
  ASSERT_EQ(sim.write(*objects, "3"), 0) << objects->errorText();
  const auto readValue = [&sim](const char* name) {
    auto p = sim.parameter(name);
    EXPECT_EQ(sim.read(*p), 0) << name << ": " << p->errorText();
    return p->valueText();
  };
  EXPECT_EQ(readValue("n.Ch"), "3") << "three objects need three channels";
  EXPECT_EQ(readValue("S.idx"), "19");
  auto channels = sim.parameter("n.Ch");
  ASSERT_EQ(sim.write(*channels, "4"), 0) << channels->errorText();
  EXPECT_EQ(readValue("S.idx"), "20");
  EXPECT_EQ(readValue("S.SAU"), "104");
}

TEST(StructureCounters, PowerOnComputesDerivedValues) {
  SimHarness sim;
  auto code = sim.parameter("S.SAU");  // the catalogue says 2; two channels make it 102
  ASSERT_EQ(sim.read(*code), 0);
  EXPECT_EQ(code->valueText(), "102");
}

TEST(StructureCounters, PairHalvesFollowEachOther) {
  SimHarness sim;
  auto written = sim.parameter("A.i.j", 3);
  ASSERT_EQ(sim.write(*written, "12"), 0) << written->errorText();
  auto partner = sim.parameter("A.i.j", 2);
  auto other = sim.parameter("A.i.j", 1);
  ASSERT_EQ(sim.read(*partner), 0);
  ASSERT_EQ(sim.read(*other), 0);
  EXPECT_EQ(partner->valueText(), "12");
  EXPECT_EQ(other->valueText(), "0");
}

}  // namespace
}  // namespace zelmot::sim::testing
