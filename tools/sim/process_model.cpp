#include "process_model.h"

#include <algorithm>
#include <cmath>

#include "value_kind.h"

namespace zelmot::sim {
namespace {

constexpr double kAmbient = 20.0;
constexpr double kPlantGain = 4.0;     // process units per percent of output
constexpr double kProportional = 2.5;  // percent per process unit
constexpr double kIntegral = 0.08;     // percent per process unit and second
constexpr double kMaxStepSeconds = 0.25;

}  // namespace

bool measurementOf(const std::string& name, Measurement& measurement) {
  static const std::pair<const char*, Measurement> kNames[] = {
      {"rEAd", Measurement::Reading},          {"r.CAL", Measurement::Calibrated},
      {"rd.rg", Measurement::Deviation}, {"Set.P", Measurement::SetPoint},
      {"r.OUt", Measurement::Output},          {"r.oe", Measurement::OutputElement},
  };
  for (const auto& [text, kind] : kNames) {
    if (sameName(name, text)) {
      measurement = kind;
      return true;
    }
  }
  return false;
}

ProcessModel::ProcessModel(Clock::time_point start) : last_(start) {
  for (int i = 0; i < kChannels; ++i) {
    channels_[i].setPoint = 100.0 + 25.0 * i;
    channels_[i].processValue = kAmbient;
    channels_[i].timeConstant = 20.0 + 5.0 * i;
  }
}

void ProcessModel::step(Channel& channel, double seconds) const {
  const double error = channel.setPoint - channel.processValue;
  channel.integral = std::clamp(channel.integral + kIntegral * error * seconds, 0.0, 100.0);
  channel.output = std::clamp(kProportional * error + channel.integral, 0.0, 100.0);
  const double target = kAmbient + kPlantGain * channel.output;
  channel.processValue += (target - channel.processValue) * seconds / channel.timeConstant;
}

void ProcessModel::advance(Clock::time_point now) {
  if (now <= last_) return;
  double remaining = std::chrono::duration<double>(now - last_).count();
  last_ = now;
  elapsedSeconds_ += remaining;
  while (remaining > 0) {
    const double seconds = std::min(remaining, kMaxStepSeconds);
    for (Channel& channel : channels_) step(channel, seconds);
    remaining -= seconds;
  }
}

float ProcessModel::value(Measurement measurement, int channel) const {
  const Channel& c = channels_[static_cast<size_t>(std::clamp(channel, 0, kChannels - 1))];
  // A little measurement noise, deterministic in time, so that a reading is never frozen.
  const double noise = 0.15 * std::sin(elapsedSeconds_ * 1.3 + channel);
  switch (measurement) {
    case Measurement::Reading: return static_cast<float>(c.processValue + noise);
    case Measurement::Calibrated: return static_cast<float>(c.processValue);
    case Measurement::Deviation: return static_cast<float>(c.setPoint - c.processValue);
    case Measurement::SetPoint: return static_cast<float>(c.setPoint);
    case Measurement::Output: return static_cast<float>(c.output);
    case Measurement::OutputElement: return static_cast<float>(std::round(c.output * 10) / 10);
  }
  return 0.0f;
}

}  // namespace zelmot::sim
