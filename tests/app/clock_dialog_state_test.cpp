#include "app/clock_dialog_state.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "exchange/parameter_transport.h"
#include "exchange/poll_scheduler.h"

#include "app/scripted_parameter_device.h"
#include "model/clock_codec.h"
#include "model/parameter.h"

namespace zelmot::app {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// 7 May of year 09, 14:30:05, fraction 0 (fraction first, day and month from 1).
constexpr model::ClockFields kAllFields = {0, 5, 30, 14, 7, 5, 9};

TEST(ClockDialogState, WorkedExampleGivesTheValueTextAndTheDeviceBytes) {
  ClockDialogState state(kAllFields);
  EXPECT_EQ(state.lowestBlock(), 0);
  EXPECT_EQ(state.highestBlock(), 6);
  state.setFieldText(6, "09");
  state.setFieldText(1, "05");
  ASSERT_EQ(state.refusal(), "");
  EXPECT_EQ(state.valueText(), "09|4|6|14|30|05|0|112");

  std::vector<uint8_t> data;
  std::string message;
  ASSERT_EQ(model::encodeRealTimeClock(state.valueText(), data, message), 1);
  EXPECT_THAT(data, ElementsAre(0x09, 0x04, 0x06, 0x0E, 0x1E, 0x05, 0x00, 0x70));
}

TEST(ClockDialogState, FieldsAbsentFromTheLastValueAreLeftOutOfTheWrite) {
  ClockDialogState state({-1, 7, 5, 10, 15, 4, 9});
  EXPECT_FALSE(state.present(0));
  EXPECT_TRUE(state.present(1));
  EXPECT_EQ(state.fieldText(4), "15");
  EXPECT_EQ(state.lowestBlock(), 1);
  EXPECT_THAT(state.lowestBlockChoices(), ElementsAre("Доли секунды", "Секунды", "Минуты",
                                                      "Часы", "День", "Месяц", "Год"));
  EXPECT_THAT(state.highestBlockChoices(),
              ElementsAre("Секунды", "Минуты", "Часы", "День", "Месяц", "Год"));
  state.setFieldText(0, "55");  // a disabled field is not written
  // The bytes the device sends for 15.04.2009 10:05:07, descriptor 0x61.
  EXPECT_EQ(state.valueText(), "9|3|14|10|5|7|97");
}

TEST(ClockDialogState, AnEmptyOrImpossibleFieldIsRefusedBeforeAnythingIsSent) {
  ClockDialogState state(kAllFields);
  state.setFieldText(5, "");
  EXPECT_THAT(state.refusal(), HasSubstr("Месяц"));
  state.setFieldText(5, "13");
  EXPECT_THAT(state.refusal(), HasSubstr("Некорректное значение параметра!"));
  state.setFieldText(5, "12");
  state.setFieldText(4, "0");
  EXPECT_THAT(state.refusal(), HasSubstr("День"));
  state.setFieldText(4, "1");
  state.setFieldText(3, "x");
  EXPECT_NE(state.refusal(), "");
  state.setFieldText(3, "23");
  EXPECT_EQ(state.refusal(), "");

  // A value that had no fields at all leaves nothing to write.
  EXPECT_NE(ClockDialogState({-1, -1, -1, -1, -1, -1, -1}).refusal(), "");
}

TEST(ClockDialogState, SynchronisingFillsSixFieldsAndAsksForOkOnlyWhenTicked) {
  ClockDialogState state(kAllFields);
  state.setFieldText(0, "3");
  std::tm local{};
  local.tm_year = 126;  // 2026
  local.tm_mon = 11;    // December
  local.tm_mday = 8;
  local.tm_hour = 16;
  local.tm_min = 2;
  local.tm_sec = 59;
  state.writeAtOnce = false;
  EXPECT_FALSE(state.synchroniseWith(local));
  EXPECT_EQ(state.fieldText(6), "26");
  EXPECT_EQ(state.fieldText(5), "12");
  EXPECT_EQ(state.fieldText(4), "08");
  EXPECT_EQ(state.fieldText(2), "02");
  EXPECT_EQ(state.fieldText(0), "3");
  EXPECT_EQ(state.valueText(), "26|11|7|16|02|59|3|112");
  state.writeAtOnce = true;
  EXPECT_TRUE(state.synchroniseWith(local));
}

TEST(ClockDialogState, WriteIsFramedByThePollPauseAndReadsTheClockBack) {
  model::Parameter clock;
  clock.setName("rtC");
  testing::ScriptedParameterDevice device;
  device.values["rtC"] = "07.05.2009 14:30:05.0";
  std::vector<std::string> order;
  PollPause pause{[&](model::Parameter&) {
                    order.push_back("pause");
                    return true;
                  },
                  [&](model::Parameter&) { order.push_back("resume"); }};
  EXPECT_EQ(writeClock(clock, "09|4|6|14|30|05|0|112", device, pause), 0);
  EXPECT_THAT(device.calls, ElementsAre("write rtC=09|4|6|14|30|05|0|112", "read rtC"));
  EXPECT_THAT(order, ElementsAre("pause", "resume"));
  EXPECT_EQ(clock.valueText(), "07.05.2009 14:30:05.0");

  // A timer that was not running is not started; a failed write is not read back.
  order.clear();
  device.calls.clear();
  device.failWrites = true;
  pause.pause = [&](model::Parameter&) { return false; };
  EXPECT_NE(writeClock(clock, "1|2|3|50", device, pause), 0);
  EXPECT_THAT(device.calls, ElementsAre("write rtC=1|2|3|50"));
  EXPECT_TRUE(order.empty());
  EXPECT_TRUE(clock.valueChanged());
}

// Reads of the polled clock are never answered here: only the scheduler's state counts.
class SilentDevice final : public exchange::ParameterTransport {
public:
  int exchangeParameter(bool, link::LinkParameter&) override { return 1; }
};

TEST(ClockDialogState, TheSchedulerPauseStopsOnlyARunningPoll) {
  SilentDevice device;
  exchange::PollScheduler scheduler(device, nullptr);
  model::Parameter clock;
  clock.setName("rtC");
  const PollPause pause = schedulerPause(scheduler);
  clock.PreparePolling();
  EXPECT_FALSE(pause.pause(clock));  // not polled
  ASSERT_EQ(scheduler.start(clock), 0);
  EXPECT_TRUE(pause.pause(clock));
  EXPECT_FALSE(clock.timerArmed());
  pause.resume(clock);
  EXPECT_TRUE(clock.timerArmed());
  scheduler.shutdown();
}

TEST(ClockDialogState, TheClockIsKnownByItsNameInAnyCase) {
  model::Parameter parameter;
  parameter.setName("RTC");
  EXPECT_TRUE(isClockParameter(parameter));
  parameter.setName("r.tC");
  EXPECT_FALSE(isClockParameter(parameter));
}

}  // namespace
}  // namespace zelmot::app
