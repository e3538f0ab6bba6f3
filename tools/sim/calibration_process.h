#pragma once
// The device's calibration mode, driven by the CLB.* commands: CLB.I starts the
// measurements, CLB.S reports their progress (bit 7 of the process flags once finished),
// CLB.T names a coefficient in error, CLB.G hands out coefficients, CLB.P commits them and
// CLB.A leaves calibration mode. A configured fault makes a run end with a status code, a
// coefficient in error or measurements that never finish, refuses commits, shortens the
// coefficient replies, or answers one command (or the sensor-type write) with n.Err.
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "device_errors.h"
#include "sim_options.h"

namespace zelmot::sim {

enum class CalibrationCommand { Start, Status, Test, Get, Commit, Abort };

// The command a code stands for; nothing for other codes.
std::optional<CalibrationCommand> calibrationCommandOf(uint16_t command);

struct CalibrationAnswer {
  DeviceError error = DeviceError::None;  // not None: answer with n.Err
  std::vector<uint8_t> data;
};

class CalibrationProcess {
public:
  using Clock = std::chrono::steady_clock;

  // Process-flag bits the host looks at.
  static constexpr uint8_t kFlagInitialMeasurement = 0x01;
  static constexpr uint8_t kFlagWritten = 0x40;
  static constexpr uint8_t kFlagFinished = 0x80;

  CalibrationProcess(double measurementSeconds, CalibrationFault fault);

  CalibrationAnswer handle(CalibrationCommand command, int requestFlag, const uint8_t* data,
                           size_t length, Clock::time_point now);

  bool active() const { return state_ != State::Idle; }
  // A write of the sensor type (in-t) that the configured fault refuses.
  bool refusesWrite(uint16_t command, int requestFlag) const;

private:
  enum class State { Idle, Measuring, Finished, Committed };

  CalibrationAnswer start(const uint8_t* data, size_t length, Clock::time_point now);
  CalibrationAnswer coefficient(const uint8_t* data, size_t length) const;
  CalibrationAnswer commit();
  bool refused(CalibrationCommand command) const;
  void update(Clock::time_point now);
  int coefficientCount() const;
  std::vector<uint8_t> flagsAndStatus() const { return {flags_, status_}; }

  double measurementSeconds_;
  CalibrationFault fault_;
  State state_ = State::Idle;
  int type_ = 0;
  Clock::time_point startedAt_{};
  uint8_t flags_ = 0;
  uint8_t status_ = 0;
  int coefficientInError_ = 0;
  int commitsRefused_ = 0;  // in this run
};

}  // namespace zelmot::sim
