#pragma once
// The process under control that gives the measured values their life: per channel a
// first-order plant (time constant, gain, ambient level) driven by a PI regulator towards
// its setpoint. Values depend only on the time passed, so runs are reproducible.
#include <array>
#include <chrono>
#include <string>

namespace zelmot::sim {

// rEAd, r.CAL, rd.rg (setpoint minus value), Set.P, r.OUt (%), r.oe (%).
enum class Measurement { Reading, Calibrated, Deviation, SetPoint, Output, OutputElement };

// The measured value a name stands for; false for any other name.
bool measurementOf(const std::string& name, Measurement& measurement);

class ProcessModel {
public:
  using Clock = std::chrono::steady_clock;
  static constexpr int kChannels = 8;

  explicit ProcessModel(Clock::time_point start);

  // Runs the plant and regulators up to `now` (earlier times change nothing).
  void advance(Clock::time_point now);
  float value(Measurement measurement, int channel) const;

private:
  struct Channel {
    double setPoint = 0;
    double processValue = 0;
    double output = 0;
    double integral = 0;
    double timeConstant = 0;
  };

  void step(Channel& channel, double seconds) const;

  std::array<Channel, kChannels> channels_{};
  Clock::time_point last_;
  double elapsedSeconds_ = 0;
};

}  // namespace zelmot::sim
