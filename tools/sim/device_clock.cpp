#include "device_clock.h"

#include <array>
#include <ctime>

namespace zelmot::sim {
namespace {

enum Field { kFraction, kSeconds, kMinutes, kHours, kDay, kMonth, kYear, kFieldCount };

// Largest value of each field on the wire (day and month counted from 0).
constexpr std::array<int, kFieldCount> kFieldMaximum = {255, 59, 59, 23, 30, 11, 99};

std::array<int, kFieldCount> fieldsOf(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  return {0, local.tm_sec, local.tm_min, local.tm_hour, local.tm_mday - 1, local.tm_mon,
          local.tm_year % 100};
}

std::time_t timeOf(const std::array<int, kFieldCount>& fields) {
  std::tm local{};
  local.tm_sec = fields[kSeconds];
  local.tm_min = fields[kMinutes];
  local.tm_hour = fields[kHours];
  local.tm_mday = fields[kDay] + 1;
  local.tm_mon = fields[kMonth];
  local.tm_year = 100 + fields[kYear];
  local.tm_isdst = -1;
  return std::mktime(&local);
}

}  // namespace

std::vector<uint8_t> DeviceClock::read(Clock::time_point now) const {
  const std::time_t time = Clock::to_time_t(now) + offsetSeconds_;
  const auto fields = fieldsOf(time);
  std::vector<uint8_t> data;
  for (int field = kYear; field >= kSeconds; --field) {
    data.push_back(static_cast<uint8_t>(fields[field]));
  }
  data.push_back(0x61);  // six fields from the seconds up
  return data;
}

DeviceError DeviceClock::write(const uint8_t* data, size_t length, Clock::time_point now) {
  if (length < 2) return DeviceError::DataSize;
  const uint8_t descriptor = data[length - 1];
  const int lowest = descriptor & 0x0F;
  const int count = descriptor >> 4;
  if (count < 1 || lowest + count > kFieldCount || static_cast<size_t>(count) + 1 != length) {
    return DeviceError::DataSize;
  }
  const std::time_t host = Clock::to_time_t(now);
  auto fields = fieldsOf(host + offsetSeconds_);
  for (int i = 0; i < count; ++i) {
    const int field = lowest + count - 1 - i;
    if (data[i] > kFieldMaximum[field]) return DeviceError::MantissaBeyondLimits;
    fields[field] = data[i];
  }
  const std::time_t wanted = timeOf(fields);
  if (wanted == static_cast<std::time_t>(-1)) return DeviceError::MantissaBeyondLimits;
  offsetSeconds_ = static_cast<int64_t>(wanted) - static_cast<int64_t>(host);
  return DeviceError::None;
}

}  // namespace zelmot::sim
