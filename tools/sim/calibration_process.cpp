#include "calibration_process.h"

#include <cstring>

#include "link/frame_codec.h"

namespace zelmot::sim {
namespace {

constexpr uint8_t kStatusNotReady = 32;
constexpr uint8_t kStatusWrongChannel = 12;
constexpr uint8_t kStatusWrongType = 13;
constexpr uint8_t kStatusCoefficientsLarge = 4;
constexpr uint8_t kStatusEepromWrite = 15;
// n.Err codes of the refusal faults: another task holds the device; a forbidden combination.
constexpr DeviceError kOtherTaskRunning = static_cast<DeviceError>(0x41);
constexpr uint8_t kPositionSensorMarker = 4;
constexpr int kInputs = 8;

// Plausible results of a good run, and the value of a coefficient that went wrong.
constexpr float kCoefficients[4] = {1.0021f, -0.0153f, 0.9987f, 0.0042f};
constexpr float kBadCoefficient = 57.5f;

int expectedRequestFlag(CalibrationCommand command) {
  switch (command) {
    case CalibrationCommand::Status:
    case CalibrationCommand::Test:
    case CalibrationCommand::Get: return 1;
    default: return 0;
  }
}

void appendFloat(std::vector<uint8_t>& data, float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  for (int shift = 24; shift >= 0; shift -= 8) data.push_back(static_cast<uint8_t>(bits >> shift));
}

}  // namespace

std::optional<CalibrationCommand> calibrationCommandOf(uint16_t command) {
  static const std::pair<const char*, CalibrationCommand> kCommands[] = {
      {"CLB.I", CalibrationCommand::Start}, {"CLB.S", CalibrationCommand::Status},
      {"CLB.T", CalibrationCommand::Test},  {"CLB.G", CalibrationCommand::Get},
      {"CLB.P", CalibrationCommand::Commit}, {"CLB.A", CalibrationCommand::Abort},
  };
  for (const auto& [name, kind] : kCommands) {
    if (link::name_hash(name) == command) return kind;
  }
  return std::nullopt;
}

CalibrationProcess::CalibrationProcess(double measurementSeconds, CalibrationFault fault)
    : measurementSeconds_(measurementSeconds), fault_(fault) {}

int CalibrationProcess::coefficientCount() const {
  switch (type_) {
    case 2: return 2;
    case 3: return 4;
    default: return 1;
  }
}

bool CalibrationProcess::refusesWrite(uint16_t command, int requestFlag) const {
  return fault_.kind == CalibrationFault::Kind::RefuseSensorType && requestFlag == 0 &&
         command == link::name_hash("in-t");
}

bool CalibrationProcess::refused(CalibrationCommand command) const {
  return fault_.kind == CalibrationFault::Kind::Refuse &&
         calibrationCommandOf(link::name_hash(fault_.command)) == command;
}

void CalibrationProcess::update(Clock::time_point now) {
  if (state_ != State::Measuring || fault_.kind == CalibrationFault::Kind::Unfinished) return;
  if (std::chrono::duration<double>(now - startedAt_).count() < measurementSeconds_) return;
  state_ = State::Finished;
  flags_ = kFlagFinished;
  status_ = fault_.kind == CalibrationFault::Kind::Status ? static_cast<uint8_t>(fault_.value) : 0;
  coefficientInError_ = 0;
  if (fault_.kind == CalibrationFault::Kind::Coefficient) {
    coefficientInError_ = fault_.value <= coefficientCount() ? fault_.value : coefficientCount();
  }
}

CalibrationAnswer CalibrationProcess::start(const uint8_t* data, size_t length,
                                            Clock::time_point now) {
  if (length != 1 && length != 2) return {DeviceError::DataSize, {}};
  commitsRefused_ = 0;
  flags_ = 0;
  status_ = 0;
  if (length == 1) {
    type_ = data[0];
    if (type_ < 1 || type_ > 3) status_ = kStatusWrongType;
  } else {
    type_ = 4;
    if (data[1] != kPositionSensorMarker) status_ = kStatusWrongType;
    else if ((data[0] & 0x7F) >= kInputs) status_ = kStatusWrongChannel;
  }
  if (status_ != 0) {
    state_ = State::Idle;
    return {DeviceError::None, flagsAndStatus()};
  }
  state_ = State::Measuring;
  startedAt_ = now;
  flags_ = kFlagInitialMeasurement;
  return {DeviceError::None, flagsAndStatus()};
}

CalibrationAnswer CalibrationProcess::coefficient(const uint8_t* data, size_t length) const {
  if (length != 1) return {DeviceError::DataSize, {}};
  const int number = data[0];
  if (state_ == State::Measuring) return {DeviceError::None, {flags_, kStatusNotReady}};
  if (number < 1 || number > coefficientCount()) {
    const uint8_t limit = coefficientCount() == 1 ? 33 : coefficientCount() == 2 ? 34 : 36;
    return {DeviceError::None, {flags_, limit}};
  }
  std::vector<uint8_t> reply{static_cast<uint8_t>(number)};
  appendFloat(reply, number == coefficientInError_ ? kBadCoefficient : kCoefficients[number - 1]);
  if (fault_.kind == CalibrationFault::Kind::ReplySize) {
    reply.resize(static_cast<size_t>(fault_.value));
  }
  return {DeviceError::None, reply};
}

CalibrationAnswer CalibrationProcess::commit() {
  if (state_ == State::Measuring) return {DeviceError::None, {flags_, kStatusNotReady}};
  if (status_ != 0) return {DeviceError::None, flagsAndStatus()};
  if (coefficientInError_ != 0) return {DeviceError::None, {flags_, kStatusCoefficientsLarge}};
  if (fault_.kind == CalibrationFault::Kind::RefuseCommit && commitsRefused_ < fault_.value) {
    ++commitsRefused_;
    return {DeviceError::None, {flags_, kStatusEepromWrite}};
  }
  state_ = State::Committed;
  flags_ |= kFlagWritten;
  return {DeviceError::None, flagsAndStatus()};
}

CalibrationAnswer CalibrationProcess::handle(CalibrationCommand command, int requestFlag,
                                             const uint8_t* data, size_t length,
                                             Clock::time_point now) {
  if (requestFlag != expectedRequestFlag(command)) return {DeviceError::RequestBit, {}};
  if (refused(command)) return {kOtherTaskRunning, {}};
  update(now);
  const bool running = state_ != State::Idle;
  switch (command) {
    case CalibrationCommand::Start: return start(data, length, now);
    case CalibrationCommand::Abort:
      state_ = State::Idle;
      flags_ = 0;
      status_ = 0;
      return {DeviceError::None, flagsAndStatus()};
    case CalibrationCommand::Status:
      if (!running) return {DeviceError::TaskNotStarted, {}};
      return {DeviceError::None, flagsAndStatus()};
    case CalibrationCommand::Test:
      if (!running) return {DeviceError::TaskNotStarted, {}};
      if (state_ == State::Measuring) return {DeviceError::None, {0, flags_, kStatusNotReady}};
      return {DeviceError::None, {static_cast<uint8_t>(coefficientInError_), flags_, status_}};
    case CalibrationCommand::Get:
      if (!running) return {DeviceError::TaskNotStarted, {}};
      return coefficient(data, length);
    case CalibrationCommand::Commit:
      if (!running) return {DeviceError::TaskNotStarted, {}};
      return commit();
  }
  return {DeviceError::DescriptorNotFound, {}};
}

}  // namespace zelmot::sim
